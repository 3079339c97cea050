#include "platform/SystemError.h"

#include "platform/ForeignNames.h"
#include "platform/win32/WinText.h"

#include <cerrno>

namespace kel {

const int kErrorNotFound = ERROR_FILE_NOT_FOUND;
const int kErrorInUse = ERROR_BUSY;
const int kErrorNoMemory = ERROR_NOT_ENOUGH_MEMORY;
const int kErrorBrokenPipe = ERROR_BROKEN_PIPE;

// The runtime keeps its own numbers; the system's code of the failed write is
// the thread's last error. A pipe whose reader has gone answers one of three.
int StreamWriteError(int errnoValue)
{
    const DWORD error = GetLastError();
    if (errnoValue == EPIPE || error == ERROR_NO_DATA || error == ERROR_PIPE_NOT_CONNECTED || error == ERROR_BROKEN_PIPE) {
        return ERROR_BROKEN_PIPE;
    }
    return error != 0 ? static_cast<int>(error) : ERROR_WRITE_FAULT;
}

// Not in every SDK's headers.
constexpr int kStoppedOnSymlink = 681;      // ERROR_STOPPED_ON_SYMLINK
constexpr int kDirectoryNotSupported = 336;  // ERROR_DIRECTORY_NOT_SUPPORTED

// Codes that an operation on a bare name in a folder held open meets for
// nothing else, each close in meaning to its kind.
int ShortTransferCode(ShortTransfer kind)
{
    return kind == ShortTransfer::Write ? ERROR_WRITE_FAULT : ERROR_HANDLE_EOF;
}

int ForeignNameCode(ForeignName kind)
{
    switch (kind) {
    case ForeignName::HardLinked:
        return ERROR_TOO_MANY_LINKS;
    case ForeignName::OtherOwner:
        return ERROR_INVALID_OWNER;
    case ForeignName::Held:
        return ERROR_SHARING_VIOLATION;
    case ForeignName::SymbolicLink:
        return kStoppedOnSymlink;  // any reparse point: symbolic link, junction, mount point
    case ForeignName::Folder:
        return kDirectoryNotSupported;
    case ForeignName::Fifo:
        return ERROR_BAD_PIPE;
    case ForeignName::Device:
        return ERROR_BAD_DEVICE;
    case ForeignName::Socket:
        return ERROR_CANT_ACCESS_FILE;  // what opening a Unix-domain socket's name answers
    }
    return 0;
}

int LastSystemError()
{
    return static_cast<int>(GetLastError());
}

void SetLastSystemError(int code)
{
    SetLastError(static_cast<DWORD>(code));
}

std::string SystemErrorText(int code)
{
    const DWORD saved = GetLastError();
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        static_cast<DWORD>(code), MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<wchar_t*>(&buffer), 0,
        nullptr);
    std::string text;
    if (length > 0 && buffer != nullptr) {
        text = Narrow(std::wstring_view(buffer, length));
    }
    LocalFree(buffer);
    SetLastError(saved);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) {
        text.pop_back();
    }
    if (text.empty()) {
        return "Unknown error " + std::to_string(code);
    }
    return text;
}

}  // namespace kel
