#include "platform/win32/OwnFiles.h"

#include "platform/ForeignNames.h"
#include "platform/win32/WinText.h"

#include <winternl.h>

#include <string>

namespace kel {

namespace {

constexpr NTSTATUS kStatusFileIsADirectory = static_cast<NTSTATUS>(0xC00000BAL);
constexpr ULONG kReparseTagUnixSocket = 0x80000023UL;

// 0 for a file of the program's own, else the code of what the handle holds.
DWORD ForeignCode(HANDLE file)
{
    switch (GetFileType(file)) {
    case FILE_TYPE_DISK:
        break;
    case FILE_TYPE_PIPE:
        return static_cast<DWORD>(ForeignNameCode(ForeignName::Fifo));
    default:
        return static_cast<DWORD>(ForeignNameCode(ForeignName::Device));
    }
    BY_HANDLE_FILE_INFORMATION info {};
    if (!GetFileInformationByHandle(file, &info)) {
        return GetLastError();
    }
    if ((info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        FILE_ATTRIBUTE_TAG_INFO tag {};
        const bool socket = GetFileInformationByHandleEx(file, FileAttributeTagInfo, &tag, sizeof tag) &&
                            tag.ReparseTag == kReparseTagUnixSocket;
        return static_cast<DWORD>(ForeignNameCode(socket ? ForeignName::Socket : ForeignName::SymbolicLink));
    }
    if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return static_cast<DWORD>(ForeignNameCode(ForeignName::Folder));
    }
    if (info.nNumberOfLinks != 1) {
        return static_cast<DWORD>(ForeignNameCode(ForeignName::HardLinked));
    }
    return 0;
}

// The name relative to root, as the NT calls take it; name must outlive it.
struct RelativeName {
    RelativeName(HANDLE root, const std::wstring& name)
    {
        text.Buffer = const_cast<wchar_t*>(name.c_str());
        text.Length = static_cast<USHORT>(name.size() * sizeof(wchar_t));
        text.MaximumLength = text.Length;
        InitializeObjectAttributes(&attributes, &text, OBJ_CASE_INSENSITIVE, root, nullptr);
    }
    UNICODE_STRING text {};
    OBJECT_ATTRIBUTES attributes {};
};

// Whether the name holds a reparse point, asked of the folder's own path
// without opening it: Wine 8 follows a symbolic link even when an open is
// told not to, and then shows the target's attributes. Windows refuses it at
// the open already (FILE_OPEN_REPARSE_POINT, then the handle's attributes).
bool IsReparsePoint(HANDLE root, const std::wstring& name)
{
    std::wstring path(32768, L'\0');
    const DWORD length = GetFinalPathNameByHandleW(root, path.data(), static_cast<DWORD>(path.size()), 0);
    if (length == 0 || length >= path.size()) {
        return false;
    }
    path.resize(length);
    if (path.rfind(L"\\\\?\\", 0) == 0 && path.size() > 6 && path[5] == L':') {
        path.erase(0, 4);  // "\\?\X:\..." as "X:\...": Wine answers only that form for its links
    }
    const DWORD attributes = GetFileAttributesW((path + L"\\" + name).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

HANDLE OpenRelative(HANDLE root, const std::wstring& name, ACCESS_MASK access, ULONG disposition, ULONG options)
{
    if (IsReparsePoint(root, name)) {
        SetLastError(static_cast<DWORD>(ForeignNameCode(ForeignName::SymbolicLink)));
        return INVALID_HANDLE_VALUE;
    }
    RelativeName relative(root, name);
    IO_STATUS_BLOCK io {};
    HANDLE handle = INVALID_HANDLE_VALUE;
    // Not shared with anyone.
    const NTSTATUS status = NtCreateFile(&handle, access | SYNCHRONIZE | FILE_READ_ATTRIBUTES, &relative.attributes,
                                         &io, nullptr, FILE_ATTRIBUTE_NORMAL, 0, disposition,
                                         options | FILE_SYNCHRONOUS_IO_NONALERT | FILE_OPEN_REPARSE_POINT, nullptr, 0);
    if (status == kStatusFileIsADirectory) {
        SetLastError(static_cast<DWORD>(ForeignNameCode(ForeignName::Folder)));
        return INVALID_HANDLE_VALUE;
    }
    if (status < 0) {
        SetLastError(RtlNtStatusToDosError(status));
        return INVALID_HANDLE_VALUE;
    }
    return handle;
}

}  // namespace

HANDLE OpenOwnFile(HANDLE folder, const char* name, const OwnFileAccess& how)
{
    ULONG options = FILE_NON_DIRECTORY_FILE;
    if (how.unbuffered) {
        options |= FILE_NO_INTERMEDIATE_BUFFERING | FILE_WRITE_THROUGH;
    } else if (how.writeThrough) {
        options |= FILE_WRITE_THROUGH;
    }
    ScopedHandle file(OpenRelative(folder, Widen(name), how.access, how.create ? FILE_OPEN_IF : FILE_OPEN, options));
    if (!file.IsValid()) {
        return INVALID_HANDLE_VALUE;
    }
    if (const DWORD code = ForeignCode(file.Get()); code != 0) {
        SetLastError(code);
        return INVALID_HANDLE_VALUE;
    }
    return file.Release();
}

bool DeleteOpenFile(HANDLE file)
{
    FILE_DISPOSITION_INFO disposition {};
    disposition.DeleteFile = TRUE;
    return SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition) != 0;
}

bool RemoveOwnFile(HANDLE folder, const char* name)
{
    const ScopedHandle file(OpenOwnFile(folder, name, {DELETE, false, false, false}));
    return file.IsValid() && DeleteOpenFile(file.Get());
}

HANDLE OpenFolderHandle(const char* path)
{
    // No FILE_SHARE_DELETE: the folder cannot be renamed or deleted while held.
    return CreateFileW(Widen(path).c_str(), FILE_LIST_DIRECTORY | FILE_TRAVERSE | SYNCHRONIZE,
                       FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS,
                       nullptr);
}

}  // namespace kel
