#pragma once
// The table of file operations that the engine uses for its test files, one
// back-end per platform (posix/, win32/). Tests put a fault-injecting back-end in
// its place. Every failing call leaves the reason in the thread's last system
// error (see SystemError.h), as the real system calls do.
//
// A run holds its test folder open from start to end and reaches every test
// file by name relative to it, so that moving or replacing the folder during
// the run cannot redirect it. A name that holds anything but a regular file
// with one link is left alone: the call fails with that kind's code
// (ForeignNames.h), and no call waits on it.

#include <cstdint>

namespace kel {

enum class TestFileMode {
    CreateReadWrite,  // read and write, not shared, always created anew (emptied)
    OpenRead,         // an existing file, read only, not shared
};

class FileBackend {
public:
    virtual ~FileBackend() = default;

    // Opens the test folder at path for a run and locks it against every other
    // run, in this process or another, until CloseFolder. Returns a
    // descriptor, or -1 on failure: kErrorInUse (SystemError.h) when another
    // run holds it.
    virtual int OpenFolder(const char* path) = 0;
    // Releases the folder and its lock.
    virtual bool CloseFolder(int folder) = 0;
    // Opens the test file name (no folder part) in folder with the system's
    // file cache kept out of the transfers. transferGranule is the largest
    // power of two that divides every transfer size and offset of the run; the
    // back-end uses direct I/O only when the file system accepts transfers of
    // that granularity. Returns a descriptor, or -1 on failure.
    virtual int Open(int folder, const char* name, TestFileMode mode, std::uint32_t transferGranule) = 0;
    // Transfers move through the file in order. Return the bytes moved, -1 on failure.
    virtual std::int64_t Read(int fd, void* buffer, std::uint32_t bytes) = 0;
    virtual std::int64_t Write(int fd, const void* buffer, std::uint32_t bytes) = 0;
    virtual bool Close(int fd) = 0;
    // Deletes the test file name in folder; refuses a file that another
    // process holds open for a test.
    virtual bool Remove(int folder, const char* name) = 0;
    // Writes out the cached writes of the file system that holds folder. Best effort.
    virtual void FlushVolume(int folder) = 0;
    // Alignment that transfer buffers need for direct I/O.
    virtual std::uint32_t BufferAlignment() const = 0;
    // Whether an open test file transfers with direct I/O (else it was opened
    // buffered with synchronous writes, the fallback).
    virtual bool TransfersDirectly(int fd) const = 0;
};

// A descriptor of the back-end, closed with CloseOp. Closing it by hand
// reports the result; one still open when it goes away is closed and the
// result ignored.
template <bool (FileBackend::*CloseOp)(int)>
class BackendDescriptor {
public:
    BackendDescriptor() = default;
    BackendDescriptor(FileBackend* backend, int fd) : m_backend(backend), m_fd(fd) {}
    BackendDescriptor(const BackendDescriptor&) = delete;
    BackendDescriptor& operator=(const BackendDescriptor&) = delete;
    BackendDescriptor(BackendDescriptor&& other) noexcept { Swap(other); }
    BackendDescriptor& operator=(BackendDescriptor&& other) noexcept
    {
        BackendDescriptor moved(static_cast<BackendDescriptor&&>(other));
        Swap(moved);
        return *this;
    }
    ~BackendDescriptor() { Close(); }

    bool IsOpen() const { return m_fd >= 0; }
    int Descriptor() const { return m_fd; }
    // Closes the descriptor and marks the handle empty, whatever the result.
    bool Close()
    {
        if (m_fd < 0) {
            return true;
        }
        const int fd = m_fd;
        m_fd = -1;
        return (m_backend->*CloseOp)(fd);
    }

protected:
    FileBackend* Backend() const { return m_backend; }

private:
    void Swap(BackendDescriptor& other) noexcept
    {
        FileBackend* backend = m_backend;
        int fd = m_fd;
        m_backend = other.m_backend;
        m_fd = other.m_fd;
        other.m_backend = backend;
        other.m_fd = fd;
    }

    FileBackend* m_backend = nullptr;
    int m_fd = -1;
};

// The test folder of a run, held open and locked.
using FolderHandle = BackendDescriptor<&FileBackend::CloseFolder>;

// An open test file.
class FileHandle : public BackendDescriptor<&FileBackend::Close> {
public:
    using BackendDescriptor::BackendDescriptor;
    std::int64_t Read(void* buffer, std::uint32_t bytes) { return Backend()->Read(Descriptor(), buffer, bytes); }
    std::int64_t Write(const void* buffer, std::uint32_t bytes) { return Backend()->Write(Descriptor(), buffer, bytes); }
};

}  // namespace kel
