// The settings file's character rules and its integer reading.
#include "settings/ProfileText.h"

#include "platform/TextRules.h"

namespace kel {

bool IsProfileBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\x1A';
}

std::string_view TrimProfileBlanks(std::string_view text)
{
    while (!text.empty() && IsProfileBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsProfileBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::string_view DecodeProfileValue(std::string_view raw)
{
    const auto nul = raw.find('\0');
    if (nul != std::string_view::npos) {
        raw = raw.substr(0, nul);
    }
    raw = TrimProfileBlanks(raw);
    if (raw.size() >= 2 && (raw.front() == '"' || raw.front() == '\'') && raw.back() == raw.front()) {
        raw = raw.substr(1, raw.size() - 2);
    }
    return raw;
}

namespace {

// The longest value read as a number, in characters.
constexpr std::size_t kIntegerChars = 29;

// Value of c as a digit in base, or -1.
int DigitValue(char c, std::uint32_t base)
{
    const int value = HexDigitValue(c);
    return value >= 0 && static_cast<std::uint32_t>(value) < base ? value : -1;
}

std::uint32_t BaseAfterPrefix(std::string_view& text)
{
    if (text.size() >= 2 && text[0] == '0') {
        switch (text[1]) {
        case 'x':
            text.remove_prefix(2);
            return 16;
        case 'b':
            text.remove_prefix(2);
            return 2;
        case 'o':
            text.remove_prefix(2);
            return 8;
        default:
            break;
        }
    }
    return 10;
}

}  // namespace

std::int32_t ParseProfileInteger(std::string_view text)
{
    text = CutUtf8Chars(text, kIntegerChars);
    while (!text.empty() && IsProfileBlank(text.front())) {
        text.remove_prefix(1);
    }
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    const std::uint32_t base = BaseAfterPrefix(text);
    std::uint64_t magnitude = 0;
    for (const char c : text) {
        const int digit = DigitValue(c, base);
        if (digit < 0) {
            break;
        }
        magnitude = magnitude * base + static_cast<std::uint64_t>(digit);
        if (magnitude > UINT32_MAX) {
            // Beyond 32 bits: the nearest limit, so that a value out of every
            // range stays out of range instead of wrapping into one.
            return negative ? INT32_MIN : INT32_MAX;
        }
    }
    const auto bits = static_cast<std::uint32_t>(negative ? 0u - magnitude : magnitude);
    return static_cast<std::int32_t>(bits);
}

}  // namespace kel
