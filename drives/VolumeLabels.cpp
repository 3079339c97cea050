#include "drives/VolumeLabels.h"

#include <cstddef>

namespace kel {

namespace {

int HexValue(char c)
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

}  // namespace

std::string UnescapeLinkName(std::string_view name)
{
    std::string out;
    out.reserve(name.size());
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (name[i] == '\\' && i + 3 < name.size() && name[i + 1] == 'x' && HexValue(name[i + 2]) >= 0 &&
            HexValue(name[i + 3]) >= 0) {
            out.push_back(static_cast<char>(HexValue(name[i + 2]) * 16 + HexValue(name[i + 3])));
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
