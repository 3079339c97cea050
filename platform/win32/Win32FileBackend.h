#pragma once
// Test files on Windows: FILE_FLAG_NO_BUFFERING | FILE_FLAG_WRITE_THROUGH
// where the run's transfer granularity is a multiple of the volume's sector
// size, else write-through alone (the fallback). With unbuffered access the
// back-end itself refuses a transfer whose buffer or size is not sector
// aligned, as Windows does, so the rule holds also where it is not enforced
// (Wine). Test files are opened not shared; a run's hold on its folder is a
// handle that keeps it from being renamed or deleted, and a named object of
// the session keyed by the folder's identity (volume serial and file index),
// which a second run meets whatever path it took to the folder.

#include "platform/FileBackend.h"

#include <memory>
#include <mutex>
#include <vector>

namespace kel {

class Win32FileBackend : public FileBackend {
public:
    Win32FileBackend();
    ~Win32FileBackend() override;
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

private:
    struct Entry;
    int Add(std::unique_ptr<Entry> entry);
    Entry* Find(int fd) const;
    // The open file of a transfer, or null (with the error set) when fd is not
    // open or the transfer breaks the unbuffered alignment rules.
    const Entry* TransferEntry(int fd, const void* buffer, std::uint32_t bytes) const;
    std::unique_ptr<Entry> Take(int fd);

    mutable std::mutex m_mutex;
    std::vector<std::unique_ptr<Entry>> m_entries;
};

}  // namespace kel
