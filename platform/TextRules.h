#pragma once
// Byte-level text rules shared by every layer: cutting UTF-8 text without
// splitting a character, ASCII-only case folding and hexadecimal digits. No
// locale is involved, so results are the same on every system.

#include <cstddef>
#include <string>
#include <string_view>

namespace kel {

constexpr char AsciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr char AsciiUpper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// Equal when the texts differ at most in the case of ASCII letters.
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);

// 0 to 15 for a hexadecimal digit of either case, -1 for anything else.
int HexDigitValue(char c);

// The longest start of text of at most maxBytes bytes that does not end inside
// a UTF-8 sequence. Bytes that are not UTF-8 count as characters of their own.
std::string_view CutUtf8(std::string_view text, std::size_t maxBytes);

// text when it has at most maxBytes bytes; else its start and its end, whole
// characters of about equal length, with "..." between, at most maxBytes in all.
std::string ElideUtf8Middle(std::string_view text, std::size_t maxBytes);

// The longest start of text that holds at most maxChars characters, counted
// as CutUtf8 counts them.
std::string_view CutUtf8Chars(std::string_view text, std::size_t maxChars);

// The text with each control character written as an escape: C0 controls and
// DEL as \xHH, the C1 controls U+0080 to U+009F as \u00HH, and each byte that
// is not part of well-formed UTF-8 as \xHH. Printed, it shows as text and
// cannot move the cursor, recolour or retitle a terminal.
std::string PrintableText(std::string_view text);

// The text with each byte that is not part of well-formed UTF-8 written as
// \xHH, the rest unchanged: valid UTF-8 for a JSON string, a folder whose name
// is not UTF-8 still recognisable.
std::string EscapeInvalidUtf8(std::string_view text);

// Characters in text, counted as CutUtf8 counts them: for aligning columns.
std::size_t Utf8Length(std::string_view text);

}  // namespace kel
