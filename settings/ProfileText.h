#pragma once
// Character rules of the settings file shared by its reader and its writer.

#include <cstddef>
#include <string_view>

namespace kel {

// Space, tab, vertical tab, form feed and Ctrl-Z: what names and values lose at
// both ends.
bool IsProfileBlank(char c);
std::string_view TrimProfileBlanks(std::string_view text);

// Section and key names match without regard to ASCII letter case.
bool ProfileNamesEqual(std::string_view a, std::string_view b);

// What a key's raw value text stands for: cut at a NUL byte, trimmed, and one
// pair of equal quote characters (" or ') around it removed.
std::string_view DecodeProfileValue(std::string_view raw);

// The longest start of text of at most maxBytes bytes that does not end inside
// a UTF-8 sequence.
std::string_view TruncateUtf8(std::string_view text, std::size_t maxBytes);

}  // namespace kel
