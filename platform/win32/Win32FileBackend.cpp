#include "platform/win32/Win32FileBackend.h"

#include "platform/SystemError.h"
#include "platform/win32/OwnFiles.h"
#include "platform/win32/WinText.h"

#include <cwchar>
#include <string>

namespace kel {

namespace {

constexpr std::uint32_t kBufferAlignment = 4096;

// The volume that holds path: its root ("X:\" or a mounted folder) and its
// sector size, 0 when it cannot be asked.
std::wstring VolumeRoot(const std::wstring& path)
{
    wchar_t root[MAX_PATH + 1] = {};
    return GetVolumePathNameW(path.c_str(), root, MAX_PATH) ? root : L"";
}

std::uint32_t SectorSize(const std::wstring& volumeRoot)
{
    DWORD sectorsPerCluster = 0;
    DWORD bytesPerSector = 0;
    DWORD freeClusters = 0;
    DWORD clusters = 0;
    if (!GetDiskFreeSpaceW(volumeRoot.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters, &clusters)) {
        return 0;
    }
    return bytesPerSector;
}

// "\\.\X:" for a drive letter's volume, else the volume's GUID path.
std::wstring VolumeDevice(const std::wstring& volumeRoot)
{
    if (volumeRoot.size() == 3 && volumeRoot[1] == L':' && volumeRoot[2] == L'\\') {
        return L"\\\\.\\" + volumeRoot.substr(0, 2);
    }
    wchar_t name[MAX_PATH + 1] = {};
    if (!GetVolumeNameForVolumeMountPointW(volumeRoot.c_str(), name, MAX_PATH)) {
        return L"";
    }
    std::wstring device = name;
    if (!device.empty() && device.back() == L'\\') {
        device.pop_back();
    }
    return device;
}

// The session's name for the folder behind a handle, the same for every
// path that leads to it.
std::wstring FolderLockName(HANDLE folder)
{
    BY_HANDLE_FILE_INFORMATION info {};
    if (!GetFileInformationByHandle(folder, &info)) {
        return L"";
    }
    wchar_t name[96];
    std::swprintf(name, sizeof name / sizeof name[0], L"Local\\KelTallyforge.folder.%08lx.%08lx%08lx",
                  static_cast<unsigned long>(info.dwVolumeSerialNumber),
                  static_cast<unsigned long>(info.nFileIndexHigh), static_cast<unsigned long>(info.nFileIndexLow));
    return name;
}

bool IsAligned(const void* buffer, std::uint32_t bytes, std::uint32_t sector)
{
    return sector != 0 && bytes % sector == 0 && reinterpret_cast<std::uintptr_t>(buffer) % sector == 0;
}

}  // namespace

struct Win32FileBackend::Entry {
    ScopedHandle handle;
    ScopedHandle lock;           // folders: the named object other runs meet
    std::wstring volumeRoot;     // folders
    std::uint32_t sectorSize = 0;
    bool direct = false;         // files: opened unbuffered
};

Win32FileBackend::Win32FileBackend() = default;
Win32FileBackend::~Win32FileBackend() = default;

int Win32FileBackend::Add(std::unique_ptr<Entry> entry)
{
    std::lock_guard lock(m_mutex);
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        if (!m_entries[i]) {
            m_entries[i] = std::move(entry);
            return static_cast<int>(i);
        }
    }
    m_entries.push_back(std::move(entry));
    return static_cast<int>(m_entries.size() - 1);
}

Win32FileBackend::Entry* Win32FileBackend::Find(int fd) const
{
    std::lock_guard lock(m_mutex);
    if (fd < 0 || static_cast<std::size_t>(fd) >= m_entries.size()) {
        return nullptr;
    }
    return m_entries[static_cast<std::size_t>(fd)].get();
}

std::unique_ptr<Win32FileBackend::Entry> Win32FileBackend::Take(int fd)
{
    std::lock_guard lock(m_mutex);
    if (fd < 0 || static_cast<std::size_t>(fd) >= m_entries.size()) {
        return nullptr;
    }
    return std::move(m_entries[static_cast<std::size_t>(fd)]);
}

int Win32FileBackend::OpenFolder(const char* path)
{
    auto entry = std::make_unique<Entry>();
    entry->handle.Reset(OpenFolderHandle(path));
    if (!entry->handle.IsValid()) {
        return -1;
    }
    BY_HANDLE_FILE_INFORMATION info {};
    if (!GetFileInformationByHandle(entry->handle.Get(), &info)) {
        return -1;
    }
    if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        SetLastError(ERROR_DIRECTORY);
        return -1;
    }
    const std::wstring lockName = FolderLockName(entry->handle.Get());
    entry->lock.Reset(CreateMutexW(nullptr, FALSE, lockName.empty() ? nullptr : lockName.c_str()));
    if (!entry->lock.IsValid()) {
        return -1;
    }
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        SetLastSystemError(kErrorInUse);
        return -1;
    }
    entry->volumeRoot = VolumeRoot(Widen(path));
    entry->sectorSize = SectorSize(entry->volumeRoot);
    return Add(std::move(entry));
}

bool Win32FileBackend::CloseFolder(int folder)
{
    const std::unique_ptr<Entry> entry = Take(folder);
    if (!entry) {
        SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    CloseHandle(entry->lock.Release());
    return CloseHandle(entry->handle.Release()) != 0;
}

int Win32FileBackend::Open(int folder, const char* name, TestFileMode mode, std::uint32_t transferGranule)
{
    const Entry* held = Find(folder);
    if (held == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return -1;
    }
    const bool create = mode == TestFileMode::CreateReadWrite;
    const std::uint32_t sector = held->sectorSize;
    auto entry = std::make_unique<Entry>();
    entry->sectorSize = sector;
    entry->direct = sector != 0 && transferGranule % sector == 0 && kBufferAlignment % sector == 0;
    const ACCESS_MASK access = create ? (GENERIC_READ | GENERIC_WRITE) : GENERIC_READ;
    entry->handle.Reset(OpenOwnFile(held->handle.Get(), name, {access, create, entry->direct, create}));
    if (!entry->handle.IsValid()) {
        return -1;
    }
    // Emptied only now that it is known to be the program's own.
    if (create && !SetEndOfFile(entry->handle.Get())) {
        return -1;
    }
    return Add(std::move(entry));
}

const Win32FileBackend::Entry* Win32FileBackend::TransferEntry(int fd, const void* buffer, std::uint32_t bytes) const
{
    const Entry* entry = Find(fd);
    if (entry == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    // The system does not check this under Wine: a misaligned unbuffered
    // transfer is refused here as Windows refuses it.
    if (entry->direct && !IsAligned(buffer, bytes, entry->sectorSize)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return entry;
}

std::int64_t Win32FileBackend::Read(int fd, void* buffer, std::uint32_t bytes)
{
    const Entry* entry = TransferEntry(fd, buffer, bytes);
    if (entry == nullptr) {
        return -1;
    }
    DWORD moved = 0;
    if (!ReadFile(entry->handle.Get(), buffer, bytes, &moved, nullptr)) {
        return -1;
    }
    if (moved < bytes) {
        SetLastError(ERROR_HANDLE_EOF);  // the file ended early; say so rather than "success"
    }
    return moved;
}

std::int64_t Win32FileBackend::Write(int fd, const void* buffer, std::uint32_t bytes)
{
    const Entry* entry = TransferEntry(fd, buffer, bytes);
    if (entry == nullptr) {
        return -1;
    }
    DWORD moved = 0;
    if (!WriteFile(entry->handle.Get(), buffer, bytes, &moved, nullptr)) {
        return -1;
    }
    if (moved < bytes) {
        SetLastError(ERROR_DISK_FULL);  // a short write to a disk file means the volume is full
    }
    return moved;
}

bool Win32FileBackend::Close(int fd)
{
    const std::unique_ptr<Entry> entry = Take(fd);
    if (!entry) {
        SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    return CloseHandle(entry->handle.Release()) != 0;
}

bool Win32FileBackend::Remove(int folder, const char* name)
{
    const Entry* held = Find(folder);
    if (held == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    return RemoveOwnFile(held->handle.Get(), name);
}

void Win32FileBackend::FlushVolume(int folder)
{
    const Entry* held = Find(folder);
    if (held == nullptr || held->volumeRoot.empty()) {
        return;
    }
    const DWORD saved = GetLastError();
    // Needs the administrator's rights on Windows; without them nothing is flushed.
    const ScopedHandle volume(CreateFileW(VolumeDevice(held->volumeRoot).c_str(), GENERIC_READ | GENERIC_WRITE,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
    if (volume.IsValid()) {
        FlushFileBuffers(volume.Get());
    }
    SetLastError(saved);
}

std::uint32_t Win32FileBackend::BufferAlignment() const
{
    return kBufferAlignment;
}

bool Win32FileBackend::TransfersDirectly(int fd) const
{
    const Entry* entry = Find(fd);
    return entry != nullptr && entry->direct;
}

}  // namespace kel
