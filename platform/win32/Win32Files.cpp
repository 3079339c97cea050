// The settings file's services on Windows: wide-path streams, flushing a
// file to the device, and the folders the settings file may live in.
#include "platform/SettingsFileSystem.h"
#include "platform/win32/WinText.h"

#include <fcntl.h>
#include <io.h>

#include <string>

namespace kel {

std::FILE* OpenFileStream(const std::filesystem::path& path, const char* mode)
{
    return _wfopen(path.c_str(), Widen(mode).c_str());
}

std::FILE* CreateNewFileStream(const std::filesystem::path& path)
{
    ScopedHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid()) {
        return nullptr;
    }
    const int fd = _open_osfhandle(reinterpret_cast<std::intptr_t>(file.Get()), _O_WRONLY | _O_BINARY);
    if (fd < 0) {
        return nullptr;
    }
    file.Release();  // the descriptor owns it now
    std::FILE* stream = _fdopen(fd, "wb");
    if (stream == nullptr) {
        _close(fd);
    }
    return stream;
}

std::filesystem::path ProgramFolder()
{
    std::wstring program(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, program.data(), static_cast<DWORD>(program.size()));
        if (length == 0) {
            return {};
        }
        if (length < program.size()) {
            program.resize(length);
            return std::filesystem::path(program).parent_path();
        }
        program.resize(program.size() * 2);
    }
}

std::filesystem::path EnvironmentPath(const char* name)
{
    const std::wstring wideName = Widen(name);
    const DWORD size = GetEnvironmentVariableW(wideName.c_str(), nullptr, 0);
    if (size == 0) {
        return {};
    }
    std::wstring value(size, L'\0');
    const DWORD length = GetEnvironmentVariableW(wideName.c_str(), value.data(), size);
    value.resize(length < size ? length : 0);
    return value;
}

bool SyncToDevice(const std::filesystem::path& path)
{
    // A folder's list of names is kept by the file system's journal; only files are flushed.
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return true;
    }
    const ScopedHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.IsValid() && FlushFileBuffers(file.Get()) != 0;
}

bool KeepOwner(const std::filesystem::path&, const std::filesystem::path&)
{
    // A new file takes its folder's inherited permissions, as the old one did.
    return true;
}

}  // namespace kel
