#pragma once
// Character rules of the settings file shared by its reader and its writer.

#include <cstddef>
#include <string_view>

namespace kel {

// Space, tab, vertical tab, form feed and Ctrl-Z: what names and values lose at
// both ends.
bool IsProfileBlank(char c);
std::string_view TrimProfileBlanks(std::string_view text);

// What a key's raw value text stands for: cut at a NUL byte, trimmed, and one
// pair of equal quote characters (" or ') around it removed.
std::string_view DecodeProfileValue(std::string_view raw);

}  // namespace kel
