#pragma once
// The table of file operations that the engine uses for its test files, one
// back-end per platform (posix/ now). Tests put a fault-injecting back-end in
// its place. Every failing call leaves the reason in the thread's last system
// error (see SystemError.h), as the real system calls do.

#include <cstdint>

namespace kel {

enum class TestFileMode {
    CreateReadWrite,  // read and write, not shared, always created anew (emptied)
    OpenRead,         // an existing file, read only, not shared
};

class FileBackend {
public:
    virtual ~FileBackend() = default;

    // Opens a test file with the system's file cache kept out of the transfers.
    // transferGranule is the largest power of two that divides every transfer
    // size and offset of the run; the back-end uses direct I/O only when the
    // file system accepts transfers of that granularity. Returns a descriptor,
    // or -1 on failure.
    virtual int Open(const char* path, TestFileMode mode, std::uint32_t transferGranule) = 0;
    // Transfers move through the file in order. Return the bytes moved, -1 on failure.
    virtual std::int64_t Read(int fd, void* buffer, std::uint32_t bytes) = 0;
    virtual std::int64_t Write(int fd, const void* buffer, std::uint32_t bytes) = 0;
    virtual bool Close(int fd) = 0;
    // Deletes by name; refuses a file that another process holds open for a test.
    virtual bool Remove(const char* path) = 0;
    // Writes out the cached writes of the file system that holds rootPath. Best effort.
    virtual void FlushVolume(const char* rootPath) = 0;
    // Alignment that transfer buffers need for direct I/O.
    virtual std::uint32_t BufferAlignment() const = 0;
    // Whether an open test file transfers with direct I/O (else it was opened
    // buffered with synchronous writes, the fallback).
    virtual bool TransfersDirectly(int fd) const = 0;
};

// An open test file. Closing it by hand reports the result; a handle still
// open when it goes away is closed and the result ignored.
class FileHandle {
public:
    FileHandle() = default;
    FileHandle(FileBackend* backend, int fd) : m_backend(backend), m_fd(fd) {}
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    FileHandle(FileHandle&& other) noexcept { Swap(other); }
    FileHandle& operator=(FileHandle&& other) noexcept
    {
        FileHandle moved(static_cast<FileHandle&&>(other));
        Swap(moved);
        return *this;
    }
    ~FileHandle() { Close(); }

    bool IsOpen() const { return m_fd >= 0; }
    std::int64_t Read(void* buffer, std::uint32_t bytes) { return m_backend->Read(m_fd, buffer, bytes); }
    std::int64_t Write(const void* buffer, std::uint32_t bytes) { return m_backend->Write(m_fd, buffer, bytes); }
    // Closes the file and marks the handle empty, whatever the result.
    bool Close()
    {
        if (m_fd < 0) {
            return true;
        }
        const int fd = m_fd;
        m_fd = -1;
        return m_backend->Close(fd);
    }

private:
    void Swap(FileHandle& other) noexcept
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

}  // namespace kel
