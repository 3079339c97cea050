#include "platform/posix/OwnFiles.h"

#include "platform/ForeignNames.h"
#include "platform/posix/Descriptor.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kel {

namespace {

// 0 for a file of the program's own, else the code of what the name holds.
int ForeignCode(const struct stat& info)
{
    switch (info.st_mode & S_IFMT) {
    case S_IFREG:
        return info.st_nlink == 1 ? 0 : ForeignNameCode(ForeignName::HardLinked);
    case S_IFLNK:
        return ForeignNameCode(ForeignName::SymbolicLink);
    case S_IFDIR:
        return ForeignNameCode(ForeignName::Folder);
    case S_IFIFO:
        return ForeignNameCode(ForeignName::Fifo);
    case S_IFSOCK:
        return ForeignNameCode(ForeignName::Socket);
    default:
        return ForeignNameCode(ForeignName::Device);
    }
}

// Whether the name is free (and to be made) or holds a file of the program's
// own; looked at without opening it, since opening a device may act on it.
bool MayOpen(int folder, const char* name, int flags)
{
    struct stat info {};
    if (fstatat(folder, name, &info, AT_SYMLINK_NOFOLLOW) != 0) {
        return errno == ENOENT && (flags & O_CREAT) != 0;
    }
    const int code = ForeignCode(info);
    errno = code;
    return code == 0;
}

}  // namespace

int OpenOwnFile(int folder, const char* name, int flags)
{
    if (!MayOpen(folder, name, flags)) {
        return -1;
    }
    Descriptor file(openat(folder, name, flags | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600));
    if (file.Get() < 0) {
        return -1;
    }
    struct stat info {};
    if (fstat(file.Get(), &info) != 0) {
        return -1;
    }
    if (const int code = ForeignCode(info); code != 0) {
        errno = code;
        return -1;
    }
    // Transfers block as usual; only the open had to be unable to.
    const int status = fcntl(file.Get(), F_GETFL);
    if (status < 0 || fcntl(file.Get(), F_SETFL, status & ~O_NONBLOCK) != 0) {
        return -1;
    }
    return file.Release();
}

bool RemoveOwnFile(int folder, const char* name)
{
    // Opened only to learn whether another holder keeps it locked, as a test
    // file in use is; a file that cannot be read is deleted all the same.
    const Descriptor file(OpenOwnFile(folder, name, O_RDONLY));
    if (file.Get() < 0 && (errno == ENOENT || ForeignNameReason(errno) != nullptr)) {
        return false;
    }
    if (file.Get() >= 0 && flock(file.Get(), LOCK_EX | LOCK_NB) != 0) {
        errno = errno == EWOULDBLOCK ? EBUSY : errno;
        return false;
    }
    return unlinkat(folder, name, 0) == 0;
}

}  // namespace kel
