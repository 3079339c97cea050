#include "drives/DriveItemText.h"

namespace kel {

namespace {

constexpr std::size_t kMaxTextBytes = kDriveItemTextChars - 1;
constexpr std::string_view kLabelGap = "  ";

bool IsContinuationByte(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// The longest start of text of at most maxBytes that ends between characters.
std::string_view CutAtCharacter(std::string_view text, std::size_t maxBytes)
{
    if (text.size() <= maxBytes) {
        return text;
    }
    std::size_t end = maxBytes;
    while (end > 0 && IsContinuationByte(text[end])) {
        --end;
    }
    return text.substr(0, end);
}

}  // namespace

std::string LabelForList(std::string_view label)
{
    std::string out(label);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    if (!out.empty() && out[0] >= 'a' && out[0] <= 'z') {
        out[0] = static_cast<char>(out[0] - 'a' + 'A');
    }
    return out;
}

std::string DriveItemText(const DriveEntry& entry)
{
    const std::string head = std::string("[") + entry.letter + "]  ";
    const std::string place = "(" + entry.mountPoint + ")";
    const std::string label = LabelForList(entry.label);

    std::string text = head;
    const std::size_t fixed = head.size() + kLabelGap.size() + place.size();
    if (!label.empty() && fixed < kMaxTextBytes) {
        const std::string_view kept = CutAtCharacter(label, kMaxTextBytes - fixed);
        if (!kept.empty()) {
            text.append(kept);
            text.append(kLabelGap);
        }
    }
    text.append(place);
    return std::string(CutAtCharacter(text, kMaxTextBytes));
}

}  // namespace kel
