#include "platform/VolumeInfo.h"

#include "platform/win32/OwnFiles.h"
#include "platform/win32/WinText.h"

#include <cwchar>

namespace kel {

namespace {

constexpr DWORD kLabelChars = 128;

// Reads a volume's label and file-system type; a drive without a medium
// answers with an error instead of the system's prompt.
void DescribeVolume(DriveEntry& entry)
{
    const UINT previousMode = SetErrorMode(SEM_FAILCRITICALERRORS);
    wchar_t label[kLabelChars] = {};
    wchar_t fileSystem[MAX_PATH + 1] = {};
    if (GetVolumeInformationW(Widen(entry.rootPath).c_str(), label, kLabelChars, nullptr, nullptr, nullptr,
                              fileSystem, MAX_PATH + 1)) {
        entry.label = Narrow(label);
        entry.fileSystem = Narrow(fileSystem);
    }
    SetErrorMode(previousMode);
}

}  // namespace

std::optional<std::vector<DriveEntry>> SystemLetterDrives()
{
    std::vector<DriveEntry> entries;
    wchar_t roots[27 * 4 + 1] = {};
    const DWORD length = GetLogicalDriveStringsW(sizeof roots / sizeof roots[0], roots);
    if (length == 0 || length > sizeof roots / sizeof roots[0]) {
        return entries;
    }
    for (const wchar_t* root = roots; *root != L'\0'; root += std::wcslen(root) + 1) {
        const UINT type = GetDriveTypeW(root);
        if (type == DRIVE_UNKNOWN || type == DRIVE_NO_ROOT_DIR || root[0] > 0x7F) {
            continue;
        }
        DriveEntry entry;
        entry.letter = static_cast<char>(root[0]);
        entry.rootPath = Narrow(root);
        entry.mountPoint = entry.rootPath;
        entry.device = std::string("\\\\.\\") + entry.letter + ":";
        DescribeVolume(entry);
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::string ReadMountTable()
{
    return {};
}

std::vector<LabelLink> ListLabelLinks()
{
    return {};
}

std::string HomeDirectory()
{
    std::wstring home(32767, L'\0');
    const DWORD length = GetEnvironmentVariableW(L"USERPROFILE", home.data(), static_cast<DWORD>(home.size()));
    return length > 0 && length < home.size() ? Narrow(std::wstring_view(home.data(), length)) : std::string();
}

bool IsFolder(const std::string& path)
{
    const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// A folder on a volume mounted read-only cannot take files; whether the
// folder's own permissions let this user create one the probe file tells.
bool IsWritableFolder(const std::string& path)
{
    if (!IsFolder(path)) {
        return false;
    }
    wchar_t root[MAX_PATH + 1] = {};
    DWORD flags = 0;
    if (!GetVolumePathNameW(Widen(path).c_str(), root, MAX_PATH) ||
        !GetVolumeInformationW(root, nullptr, 0, nullptr, nullptr, &flags, nullptr, 0)) {
        return true;
    }
    return (flags & FILE_READ_ONLY_VOLUME) == 0;
}

std::optional<std::uint64_t> FreeBytesForUser(const std::string& path)
{
    ULARGE_INTEGER freeForCaller {};
    if (!GetDiskFreeSpaceExW(Widen(path).c_str(), &freeForCaller, nullptr, nullptr)) {
        return std::nullopt;
    }
    return freeForCaller.QuadPart;
}

bool Answers(const std::string& path)
{
    // A local volume answers; a share that does not is a failed query below.
    return GetFileAttributesW(Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

ProbeResult CreateAndDeleteProbe(const std::string& folderPath, const char* name)
{
    const ScopedHandle folder(OpenFolderHandle(folderPath.c_str()));
    if (!folder.IsValid()) {
        return {static_cast<int>(GetLastError()), false};
    }
    // Not shared: held by another check at this moment, the open fails and that check removes it.
    const ScopedHandle probe(
        OpenOwnFile(folder.Get(), name, {GENERIC_READ | GENERIC_WRITE | DELETE, true, false, false}));
    if (!probe.IsValid()) {
        return {static_cast<int>(GetLastError()), false};
    }
    if (!DeleteOpenFile(probe.Get())) {
        return {static_cast<int>(GetLastError()), true};
    }
    return {};
}

std::uint64_t OwnFileBytes(const std::string& folderPath, const std::vector<std::string>& names)
{
    // Asked by name, never opened: a run in this folder may be about to
    // create these files unshared, and an open here, however short, would
    // make its create fail. A file with other names counts too; the run
    // itself then refuses it.
    std::uint64_t bytes = 0;
    for (const std::string& name : names) {
        WIN32_FILE_ATTRIBUTE_DATA data {};
        const std::wstring path = Widen(folderPath + "\\" + name);
        const DWORD foreign = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE;
        if (GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) && (data.dwFileAttributes & foreign) == 0) {
            bytes += (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        }
    }
    return bytes;
}

}  // namespace kel
