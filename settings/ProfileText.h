#pragma once
// Character rules of the settings file shared by its reader and its writer,
// and reading a value as a 32-bit integer.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace kel {

// Space, tab, vertical tab, form feed and Ctrl-Z: what names and values lose at
// both ends.
bool IsProfileBlank(char c);
std::string_view TrimProfileBlanks(std::string_view text);

// What a key's raw value text stands for: cut at a NUL byte, trimmed, and one
// pair of equal quote characters (" or ') around it removed.
std::string_view DecodeProfileValue(std::string_view raw);

// Reads the number that the first 29 characters of text start with: leading
// blanks, one optional sign, then decimal digits or, after a lower-case 0x, 0b
// or 0o, hexadecimal, binary or octal digits. Parsing stops at the first
// other character; text without a number gives 0. A value of up to 32 bits
// is read as signed (0xffffffff is -1); a longer one gives INT32_MAX, or
// INT32_MIN after a minus sign, never a small number it would wrap to.
std::int32_t ParseProfileInteger(std::string_view text);

}  // namespace kel
