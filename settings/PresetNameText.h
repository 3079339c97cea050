#pragma once
// The order preset names appear in lists.

#include <string_view>

namespace kel {

// Whether name a sorts before name b: bytes compared with ASCII letters taken
// as lower case, so "beta" comes before "Zeta" and "(Default)" before both.
bool PresetNameBefore(std::string_view a, std::string_view b);

}  // namespace kel
