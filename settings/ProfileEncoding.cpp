#include "settings/ProfileEncoding.h"

#include <cstdint>
#include <utility>

namespace kel {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";

bool IsLeadSurrogate(std::uint32_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsTrailSurrogate(std::uint32_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

void AppendUtf8(std::string& text, std::uint32_t code)
{
    const auto byte = [&text](std::uint32_t value) { text += static_cast<char>(value); };
    if (code < 0x80) {
        byte(code);
    } else if (code < 0x800) {
        byte(0xC0 | (code >> 6));
        byte(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        byte(0xE0 | (code >> 12));
        byte(0x80 | ((code >> 6) & 0x3F));
        byte(0x80 | (code & 0x3F));
    } else {
        byte(0xF0 | (code >> 18));
        byte(0x80 | ((code >> 12) & 0x3F));
        byte(0x80 | ((code >> 6) & 0x3F));
        byte(0x80 | (code & 0x3F));
    }
}

void AppendUtf16Le(std::string& bytes, std::uint32_t unit)
{
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
}

std::string DecodeUtf16Le(std::string_view units)
{
    const auto unitAt = [units](std::size_t at) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(units[at])) |
               static_cast<std::uint32_t>(static_cast<unsigned char>(units[at + 1])) << 8;
    };
    std::string text;
    text.reserve(units.size() / 2);
    for (std::size_t at = 0; at + 1 < units.size(); at += 2) {
        std::uint32_t code = unitAt(at);
        if (IsLeadSurrogate(code) && at + 3 < units.size() && IsTrailSurrogate(unitAt(at + 2))) {
            code = 0x10000 + ((code - 0xD800) << 10) + (unitAt(at + 2) - 0xDC00);
            at += 2;
        }
        AppendUtf8(text, code);
    }
    return text;
}

// The code point of the UTF-8 sequence at text[at] and its length, or
// nothing for a byte that opens no well-formed sequence. Surrogate code
// points count, as the decoder writes unpaired ones that way.
std::optional<std::pair<std::uint32_t, std::size_t>> NextCodePoint(std::string_view text, std::size_t at)
{
    const auto byte = [text](std::size_t i) { return static_cast<std::uint32_t>(static_cast<unsigned char>(text[i])); };
    const std::uint32_t lead = byte(at);
    if (lead < 0x80) {
        return std::pair {lead, std::size_t {1}};
    }
    std::size_t length = 0;
    std::uint32_t low = 0x80;
    std::uint32_t high = 0xBF;  // allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return std::nullopt;
    }
    if (at + length > text.size() || byte(at + 1) < low || byte(at + 1) > high) {
        return std::nullopt;
    }
    std::uint32_t code = lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) {
            return std::nullopt;
        }
        code = code << 6 | (byte(at + i) & 0x3F);
    }
    return std::pair {code, length};
}

std::optional<std::string> EncodeUtf16Le(std::string_view text)
{
    std::string bytes(kUtf16LeMark);
    bytes.reserve(kUtf16LeMark.size() + 2 * text.size());
    bool afterLead = false;
    for (std::size_t at = 0; at < text.size();) {
        const auto next = NextCodePoint(text, at);
        // A lone lead surrogate followed by a lone trail one would read back
        // as one other character.
        if (!next || (afterLead && IsTrailSurrogate(next->first))) {
            return std::nullopt;
        }
        const std::uint32_t code = next->first;
        afterLead = IsLeadSurrogate(code);
        if (code >= 0x10000) {
            AppendUtf16Le(bytes, 0xD800 + ((code - 0x10000) >> 10));
            AppendUtf16Le(bytes, 0xDC00 + ((code - 0x10000) & 0x3FF));
        } else {
            AppendUtf16Le(bytes, code);
        }
        at += next->second;
    }
    return bytes;
}

}  // namespace

ProfileContent DecodeProfileBytes(std::string bytes)
{
    ProfileContent content;
    const std::string_view view(bytes);
    if (view.starts_with(kUtf8Mark)) {
        content.encoding = ProfileEncoding::Utf8WithMark;
        bytes.erase(0, kUtf8Mark.size());
        content.text = std::move(bytes);
    } else if (view.starts_with(kUtf16LeMark)) {
        content.encoding = ProfileEncoding::Utf16LeWithMark;
        content.reversible = view.size() % 2 == 0;
        content.text = DecodeUtf16Le(view.substr(kUtf16LeMark.size()));
    } else {
        content.text = std::move(bytes);
    }
    return content;
}

std::optional<std::string> EncodeProfileText(ProfileEncoding encoding, std::string text)
{
    switch (encoding) {
    case ProfileEncoding::Utf8WithMark:
        text.insert(0, kUtf8Mark);
        return text;
    case ProfileEncoding::Utf16LeWithMark:
        return EncodeUtf16Le(text);
    case ProfileEncoding::Utf8:
        break;
    }
    return text;
}

}  // namespace kel
