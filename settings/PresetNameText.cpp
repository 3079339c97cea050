#include "settings/PresetNameText.h"

#include "platform/TextRules.h"

#include <algorithm>

namespace kel {

namespace {

void AppendEscape(std::string& text, std::string_view prefix, unsigned char code)
{
    constexpr std::string_view digits = "0123456789ABCDEF";
    text += prefix;
    text += digits[code >> 4];
    text += digits[code & 0x0F];
}

}  // namespace

bool PresetNameBefore(std::string_view a, std::string_view b)
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(AsciiLower(x)) < static_cast<unsigned char>(AsciiLower(y));
    });
}

std::string PrintablePresetName(std::string_view name)
{
    std::string text;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto byte = static_cast<unsigned char>(name[i]);
        const auto following = i + 1 < name.size() ? static_cast<unsigned char>(name[i + 1]) : 0u;
        if (byte < 0x20 || byte == 0x7F) {
            AppendEscape(text, "\\x", byte);
        } else if (byte == 0xC2 && following >= 0x80 && following <= 0x9F) {
            AppendEscape(text, "\\u00", static_cast<unsigned char>(following));
            ++i;
        } else {
            text += name[i];
        }
    }
    return text;
}

}  // namespace kel
