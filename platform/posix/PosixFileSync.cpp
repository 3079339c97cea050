#include "platform/FileSync.h"

#include <fcntl.h>
#include <unistd.h>

namespace kel {

bool SyncToDevice(const std::filesystem::path& path)
{
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const bool synced = fsync(fd) == 0;
    return close(fd) == 0 && synced;
}

}  // namespace kel
