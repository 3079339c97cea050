#include "drives/VolumeLabels.h"

#include "platform/TextRules.h"

#include <cstddef>

namespace kel {

std::string UnescapeLinkName(std::string_view name)
{
    std::string out;
    out.reserve(name.size());
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (name[i] == '\\' && i + 3 < name.size() && name[i + 1] == 'x' && HexDigitValue(name[i + 2]) >= 0 &&
            HexDigitValue(name[i + 3]) >= 0) {
            out.push_back(static_cast<char>(HexDigitValue(name[i + 2]) * 16 + HexDigitValue(name[i + 3])));
            i += 3;
        } else {
            out.push_back(name[i]);
        }
    }
    return out;
}

std::string LabelOfMount(const std::vector<LabelLink>& links, const MountRecord& mount)
{
    for (const LabelLink& link : links) {
        const bool sameNumber = !link.deviceNumber.empty() && link.deviceNumber == mount.deviceNumber;
        const bool samePath = !link.devicePath.empty() && link.devicePath == mount.source;
        if (sameNumber || samePath) {
            return UnescapeLinkName(link.name);
        }
    }
    return {};
}

}  // namespace kel
