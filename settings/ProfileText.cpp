#include "settings/ProfileText.h"

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

namespace {

char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsContinuationByte(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0u) == 0x80u;
}

// Length of the sequence a lead byte opens; 0 for a byte that opens none.
std::size_t Utf8SequenceLength(char c)
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
    return 0;
}

}  // namespace

bool ProfileNamesEqual(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i])) {
            return false;
        }
    }
    return true;
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

std::string_view TruncateUtf8(std::string_view text, std::size_t maxBytes)
{
    if (text.size() <= maxBytes) {
        return text;
    }
    // Step back over at most three continuation bytes to the lead byte; cut
    // before it only when its sequence would reach past the limit. Text that
    // is not UTF-8 is cut at the limit.
    std::size_t lead = maxBytes;
    while (lead > 0 && maxBytes - lead < 3 && IsContinuationByte(text[lead])) {
        --lead;
    }
    if (lead < maxBytes && Utf8SequenceLength(text[lead]) > maxBytes - lead) {
        return text.substr(0, lead);
    }
    return text.substr(0, maxBytes);
}

}  // namespace kel
