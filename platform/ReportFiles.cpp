#include "platform/ReportFiles.h"

namespace kel {

std::string ReplacedFile(const std::string& target)
{
    if (!FactsOf(target).isSymlink) {
        return target;
    }
    const std::string resolved = ResolvedPath(target);
    return resolved.empty() ? target : resolved;
}

}  // namespace kel
