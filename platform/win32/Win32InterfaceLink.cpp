#include "platform/InterfaceLink.h"

namespace kel {

// Windows tells the link rate only through vendor queries: not known here.
std::optional<InterfaceLink> InterfaceLinkOf(const std::string&, const std::string&)
{
    return std::nullopt;
}

}  // namespace kel
