#pragma once
// Test files on Linux. Direct I/O (O_DIRECT) where the file system takes it
// at the run's transfer granularity. Elsewhere the files are opened buffered
// but kept honest: writes are synchronous (O_DSYNC), so each one has reached
// the device when it returns, and a file opened for reading has its cached
// pages dropped first and read-ahead turned off, so reads come from the device.
// Exclusive access, as a test file needs, is an flock held while it is open;
// a run's hold on its folder is an flock on the folder's descriptor.

#include "platform/FileBackend.h"

namespace kel {

class PosixFileBackend : public FileBackend {
public:
    int OpenFolder(const char* path) override;
    bool CloseFolder(int folder) override;
    int Open(int folder, const char* name, TestFileMode mode, std::uint32_t transferGranule) override;
    std::int64_t Read(int fd, void* buffer, std::uint32_t bytes) override;
    std::int64_t Write(int fd, const void* buffer, std::uint32_t bytes) override;
    bool Close(int fd) override;
    bool Remove(int folder, const char* name) override;
    void FlushVolume(int folder) override;
    std::uint32_t BufferAlignment() const override;
    bool TransfersDirectly(int fd) const override;
};

}  // namespace kel
