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
// Another user's file is never the program's, even where this user (or the
// administrator) may write it.
int ForeignCode(const struct stat& info)
{
    switch (info.st_mode & S_IFMT) {
    case S_IFREG:
        if (info.st_nlink != 1) {
            return ForeignNameCode(ForeignName::HardLinked);
        }
        return info.st_uid == geteuid() ? 0 : ForeignNameCode(ForeignName::OtherOwner);
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

// Whether the name is free (and to be made: free is set) or holds a file of
// the program's own; looked at without opening it, since opening a device
// may act on it.
bool MayOpen(int folder, const char* name, int flags, bool& free)
{
    struct stat info {};
    if (fstatat(folder, name, &info, AT_SYMLINK_NOFOLLOW) != 0) {
        free = errno == ENOENT && (flags & O_CREAT) != 0;
        return free;
    }
    const int code = ForeignCode(info);
    errno = code;
    return code == 0;
}

// The descriptor's flags without O_NONBLOCK, after checking that it is the
// program's own; false with errno set otherwise.
bool Settle(int fd)
{
    struct stat info {};
    if (fstat(fd, &info) != 0) {
        return false;
    }
    if (const int code = ForeignCode(info); code != 0) {
        errno = code;
        return false;
    }
    // Transfers block as usual; only the open had to be unable to.
    const int status = fcntl(fd, F_GETFL);
    return status >= 0 && fcntl(fd, F_SETFL, status & ~O_NONBLOCK) == 0;
}

}  // namespace

int OpenOwnFile(int folder, const char* name, int flags, bool* created)
{
    bool free = false;
    if (created != nullptr) {
        *created = false;
    }
    if (!MayOpen(folder, name, flags, free)) {
        return -1;
    }
    // A free name is made afresh: should someone take it in the meantime,
    // the open fails (EEXIST) instead of opening what they put there.
    const int openFlags = (free ? flags | O_EXCL : flags & ~O_CREAT) | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK;
    Descriptor file(openat(folder, name, openFlags, 0600));
    if (file.Get() < 0) {
        // A file system without direct I/O makes the file before it refuses.
        if (created != nullptr) {
            *created = free && errno == EINVAL && (flags & O_DIRECT) != 0;
        }
        return -1;
    }
    if (!Settle(file.Get())) {
        if (free) {
            DeleteMadeFile(folder, name);
        }
        return -1;
    }
    if (created != nullptr) {
        *created = free;
    }
    return file.Release();
}

std::uint64_t OwnFileBytes(int folder, const char* name)
{
    struct stat info {};
    if (fstatat(folder, name, &info, AT_SYMLINK_NOFOLLOW) != 0 || ForeignCode(info) != 0) {
        return 0;
    }
    return static_cast<std::uint64_t>(info.st_blocks) * 512u;
}

void DeleteMadeFile(int folder, const char* name)
{
    const int savedErrno = errno;
    struct stat info {};
    if (fstatat(folder, name, &info, AT_SYMLINK_NOFOLLOW) == 0 && ForeignCode(info) == 0) {
        unlinkat(folder, name, 0);
    }
    errno = savedErrno;
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
