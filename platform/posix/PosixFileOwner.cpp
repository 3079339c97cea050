#include "platform/FileOwner.h"

#include <sys/stat.h>
#include <unistd.h>

namespace kel {

bool KeepOwner(const std::filesystem::path& original, const std::filesystem::path& replacement)
{
    struct stat originalInfo {};
    struct stat replacementInfo {};
    if (stat(original.c_str(), &originalInfo) != 0 || lstat(replacement.c_str(), &replacementInfo) != 0) {
        return false;
    }
    if (originalInfo.st_uid == replacementInfo.st_uid && originalInfo.st_gid == replacementInfo.st_gid) {
        return true;
    }
    return lchown(replacement.c_str(), originalInfo.st_uid, originalInfo.st_gid) == 0;
}

}  // namespace kel
