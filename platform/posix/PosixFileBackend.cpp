#include "platform/posix/PosixFileBackend.h"

#include "platform/ForeignNames.h"
#include "platform/posix/Descriptor.h"
#include "platform/posix/OwnFiles.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kel {

namespace {

constexpr std::uint32_t kBufferAlignment = 4096;
// Used when the file system does not say what direct I/O needs.
constexpr std::uint32_t kAssumedDirectAlignment = 4096;

int BaseFlags(TestFileMode mode)
{
    return mode == TestFileMode::CreateReadWrite ? (O_RDWR | O_CREAT) : O_RDONLY;
}

// Whether direct transfers of this granularity suit the open file.
bool DirectSuits(int fd, std::uint32_t transferGranule)
{
    struct statx info {};
    std::uint32_t offsetAlign = kAssumedDirectAlignment;
    std::uint32_t memoryAlign = kAssumedDirectAlignment;
    if (statx(fd, "", AT_EMPTY_PATH, STATX_DIOALIGN, &info) == 0 && (info.stx_mask & STATX_DIOALIGN) != 0) {
        if (info.stx_dio_offset_align == 0) {
            return false;  // the file system says it has no direct I/O
        }
        offsetAlign = info.stx_dio_offset_align;
        memoryAlign = info.stx_dio_mem_align;
    }
    return transferGranule % offsetAlign == 0 && memoryAlign <= kBufferAlignment &&
           kBufferAlignment % memoryAlign == 0;
}

// Takes the exclusive lock and, for a new test file, empties it (only now that
// it is known to be the program's own).
bool Claim(int fd, TestFileMode mode)
{
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        errno = errno == EWOULDBLOCK ? ForeignNameCode(ForeignName::Held) : errno;
        return false;
    }
    return mode != TestFileMode::CreateReadWrite || ftruncate(fd, 0) == 0;
}

int OpenDirect(int folder, const char* name, TestFileMode mode, std::uint32_t transferGranule, bool& created)
{
    Descriptor file(OpenOwnFile(folder, name, BaseFlags(mode) | O_DIRECT, &created));
    if (file.Get() < 0) {
        return -1;
    }
    if (!DirectSuits(file.Get(), transferGranule)) {
        errno = EINVAL;
        return -1;
    }
    return Claim(file.Get(), mode) ? file.Release() : -1;
}

int OpenBuffered(int folder, const char* name, TestFileMode mode)
{
    const int flags = BaseFlags(mode) | (mode == TestFileMode::CreateReadWrite ? O_DSYNC : 0);
    Descriptor file(OpenOwnFile(folder, name, flags));
    if (file.Get() < 0 || !Claim(file.Get(), mode)) {
        return -1;
    }
    if (mode == TestFileMode::OpenRead) {
        // Pages written synchronously are clean, so this drops them all.
        posix_fadvise(file.Get(), 0, 0, POSIX_FADV_DONTNEED);
        posix_fadvise(file.Get(), 0, 0, POSIX_FADV_RANDOM);
    }
    return file.Release();
}

}  // namespace

int PosixFileBackend::OpenFolder(const char* path)
{
    Descriptor folder(open(path, O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.Get() < 0) {
        return -1;
    }
    // Each run locks its own descriptor of the folder, so a second run, in
    // this process or another, is refused. A file system that locks no
    // folders (NFS emulates flock with byte-range locks, which a folder
    // cannot take) still runs, with each test file held exclusively while open.
    if (flock(folder.Get(), LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
        return -1;
    }
    return folder.Release();
}

bool PosixFileBackend::CloseFolder(int folder)
{
    return close(folder) == 0;
}

int PosixFileBackend::Open(int folder, const char* name, TestFileMode mode, std::uint32_t transferGranule)
{
    // A file this call made and then could not use is deleted again: the run
    // deletes only the files it opened.
    bool created = false;
    int fd = OpenDirect(folder, name, mode, transferGranule, created);
    if (fd < 0 && errno == EINVAL) {
        fd = OpenBuffered(folder, name, mode);
    }
    if (fd < 0 && created) {
        DeleteMadeFile(folder, name);
    }
    return fd;
}

std::int64_t PosixFileBackend::Read(int fd, void* buffer, std::uint32_t bytes)
{
    ssize_t moved;
    do {
        moved = read(fd, buffer, bytes);
    } while (moved < 0 && errno == EINTR);
    if (moved >= 0 && static_cast<std::uint32_t>(moved) < bytes) {
        errno = ShortTransferCode(ShortTransfer::Read);  // rather than "Success"
    }
    return moved;
}

std::int64_t PosixFileBackend::Write(int fd, const void* buffer, std::uint32_t bytes)
{
    ssize_t moved;
    do {
        moved = write(fd, buffer, bytes);
    } while (moved < 0 && errno == EINTR);
    if (moved >= 0 && static_cast<std::uint32_t>(moved) < bytes) {
        // A short write carries no error code; the rest, written again, tells
        // why (ENOSPC as a rule). The transfer stays a short one either way.
        const auto* rest = static_cast<const char*>(buffer) + moved;
        if (write(fd, rest, bytes - static_cast<std::uint32_t>(moved)) >= 0) {
            errno = ShortTransferCode(ShortTransfer::Write);
        }
    }
    return moved;
}

bool PosixFileBackend::Close(int fd)
{
    // Linux releases the descriptor even when close reports an error; never retry.
    return close(fd) == 0;
}

bool PosixFileBackend::Remove(int folder, const char* name)
{
    return RemoveOwnFile(folder, name);
}

void PosixFileBackend::FlushVolume(int folder)
{
    syncfs(folder);
}

std::uint32_t PosixFileBackend::BufferAlignment() const
{
    return kBufferAlignment;
}

bool PosixFileBackend::TransfersDirectly(int fd) const
{
    const int flags = fcntl(fd, F_GETFL);
    return flags >= 0 && (flags & O_DIRECT) != 0;
}

}  // namespace kel
