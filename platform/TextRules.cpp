#include "platform/TextRules.h"

#include <algorithm>
#include <cstdint>

namespace kel {

namespace {

bool IsContinuationByte(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0u) == 0x80u;
}

// Length of the sequence a lead byte opens; 1 for a byte that opens none.
std::size_t SequenceLength(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    if ((byte & 0xE0u) == 0xC0u) {
        return 2;
    }
    if ((byte & 0xF0u) == 0xE0u) {
        return 3;
    }
    if ((byte & 0xF8u) == 0xF0u) {
        return 4;
    }
    return 1;
}

// Bytes of the character at text[at]: its lead byte and the continuation
// bytes that really follow, as far as its lead byte announces.
std::size_t CharacterBytes(std::string_view text, std::size_t at)
{
    const std::size_t announced = SequenceLength(text[at]);
    std::size_t bytes = 1;
    while (bytes < announced && at + bytes < text.size() && IsContinuationByte(text[at + bytes])) {
        ++bytes;
    }
    return bytes;
}

void AppendEscape(std::string& text, std::string_view prefix, unsigned char code)
{
    constexpr std::string_view digits = "0123456789ABCDEF";
    text += prefix;
    text += digits[code >> 4];
    text += digits[code & 0x0F];
}

// Bytes of the well-formed UTF-8 character at text[at] (no overlong forms,
// surrogates or code points past U+10FFFF), 0 when there is none.
std::size_t ValidCharacterBytes(std::string_view text, std::size_t at)
{
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80) {
        return 1;
    }
    const std::size_t length = SequenceLength(text[at]);
    if (length == 1 || at + length > text.size()) {
        return 0;
    }
    std::uint32_t code = lead & (0x7Fu >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if (!IsContinuationByte(text[at + i])) {
            return 0;
        }
        code = (code << 6) | (static_cast<unsigned char>(text[at + i]) & 0x3Fu);
    }
    constexpr std::uint32_t kLowest[] = {0, 0, 0x80, 0x800, 0x10000};
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    return code < kLowest[length] || surrogate || code > 0x10FFFF ? 0 : length;
}


}  // namespace

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i])) {
            return false;
        }
    }
    return true;
}

int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

std::string_view CutUtf8(std::string_view text, std::size_t maxBytes)
{
    std::size_t end = 0;
    while (end < text.size()) {
        const std::size_t bytes = CharacterBytes(text, end);
        if (end + bytes > maxBytes) {
            break;
        }
        end += bytes;
    }
    return text.substr(0, end);
}

std::string ElideUtf8Middle(std::string_view text, std::size_t maxBytes)
{
    constexpr std::string_view kEllipsis = "...";
    if (text.size() <= maxBytes) {
        return std::string(text);
    }
    const std::size_t kept = maxBytes > kEllipsis.size() ? maxBytes - kEllipsis.size() : 0;
    const std::string_view start = CutUtf8(text, kept / 2);
    std::size_t endAt = text.size() - (kept - start.size());
    while (endAt < text.size() && IsContinuationByte(text[endAt])) {
        ++endAt;
    }
    std::string elided(start);
    elided += kEllipsis.substr(0, std::min(kEllipsis.size(), maxBytes));
    elided += text.substr(endAt);
    return elided;
}

std::string_view CutUtf8Chars(std::string_view text, std::size_t maxChars)
{
    std::size_t end = 0;
    for (std::size_t chars = 0; chars < maxChars && end < text.size(); ++chars) {
        end += CharacterBytes(text, end);
    }
    return text.substr(0, end);
}

std::string PrintableText(std::string_view text)
{
    std::string printable;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const auto following = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0u;
        const std::size_t bytes = ValidCharacterBytes(text, i);
        if (byte < 0x20 || byte == 0x7F || bytes == 0) {
            AppendEscape(printable, "\\x", byte);
        } else if (byte == 0xC2 && following >= 0x80 && following <= 0x9F) {
            AppendEscape(printable, "\\u00", static_cast<unsigned char>(following));
            ++i;
        } else {
            printable.append(text.substr(i, bytes));
            i += bytes - 1;
        }
    }
    return printable;
}

std::string EscapeInvalidUtf8(std::string_view text)
{
    std::string escaped;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t bytes = ValidCharacterBytes(text, i);
        if (bytes == 0) {
            AppendEscape(escaped, "\\x", static_cast<unsigned char>(text[i]));
            ++i;
        } else {
            escaped.append(text.substr(i, bytes));
            i += bytes;
        }
    }
    return escaped;
}

std::size_t Utf8Length(std::string_view text)
{
    std::size_t characters = 0;
    for (const char c : text) {
        characters += IsContinuationByte(c) ? 0 : 1;
    }
    return characters;
}

}  // namespace kel
