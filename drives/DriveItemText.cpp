#include "drives/DriveItemText.h"

#include "platform/TextRules.h"

namespace kel {

namespace {

constexpr std::size_t kMaxTextBytes = kDriveItemTextChars - 1;
constexpr std::string_view kLabelGap = "  ";

}  // namespace

std::string LabelForList(std::string_view label)
{
    std::string out(label);
    for (char& c : out) {
        c = AsciiLower(c);
    }
    if (!out.empty()) {
        out[0] = AsciiUpper(out[0]);
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
        const std::string_view kept = CutUtf8(label, kMaxTextBytes - fixed);
        if (!kept.empty()) {
            text.append(kept);
            text.append(kLabelGap);
        }
    }
    text.append(place);
    return std::string(CutUtf8(text, kMaxTextBytes));
}

}  // namespace kel
