#pragma once
// How preset names appear in lists: their order, and a form that is safe to
// print on a terminal.

#include <string>
#include <string_view>

namespace kel {

// Whether name a sorts before name b: bytes compared with ASCII letters taken
// as lower case, so "beta" comes before "Zeta" and "(Default)" before both.
bool PresetNameBefore(std::string_view a, std::string_view b);

// The name with each control character written as an escape: C0 controls and
// DEL as \xHH, the C1 controls U+0080 to U+009F as \u00HH. Printed, the name
// shows as text and cannot move the cursor, recolour or retitle a terminal.
std::string PrintablePresetName(std::string_view name);

}  // namespace kel
