// The settings file's streams, device flush and owner on Linux.
#include "platform/SettingsFileSystem.h"

#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kel {

std::FILE* OpenFileStream(const std::filesystem::path& path, const char* mode)
{
    return std::fopen(path.c_str(), mode);
}

std::FILE* CreateNewFileStream(const std::filesystem::path& path)
{
    return std::fopen(path.c_str(), "wbx");
}

std::filesystem::path EnvironmentPath(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr ? std::filesystem::path(value) : std::filesystem::path();
}

bool SyncToDevice(const std::filesystem::path& path)
{
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const bool synced = fsync(fd) == 0;
    return close(fd) == 0 && synced;
}

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
