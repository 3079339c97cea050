// The reports' file services on Windows: UTF-8 paths inside, UTF-16 at the
// calls; either slash separates names.
#include "platform/ReportFiles.h"

#include "platform/SystemError.h"
#include "platform/win32/WinText.h"

#include <cstdio>
#include <ctime>

namespace kel {

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

int ErrorOr(DWORD fallback)
{
    const DWORD error = GetLastError();
    return static_cast<int>(error != 0 ? error : fallback);
}

// Opens path for a query of what it is; links followed, folders too.
HANDLE OpenForQuery(const std::wstring& path, DWORD access)
{
    return CreateFileW(path.c_str(), access, kShareAll, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

int WriteAll(HANDLE file, std::string_view bytes)
{
    while (!bytes.empty()) {
        const DWORD chunk = bytes.size() > (1u << 30) ? (1u << 30) : static_cast<DWORD>(bytes.size());
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr)) {
            return ErrorOr(ERROR_WRITE_FAULT);
        }
        if (written == 0) {
            return ERROR_DISK_FULL;
        }
        bytes.remove_prefix(written);
    }
    return 0;
}

// A name for a temporary file beside name, short enough for any file system.
std::wstring TemporaryName(const std::string& folder, const std::string& name, unsigned attempt)
{
    static unsigned counter = 0;
    const auto seed = static_cast<unsigned long>(GetCurrentProcessId()) * 7919ul +
                      static_cast<unsigned long>(std::time(nullptr)) + ++counter * 104729ul + attempt;
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, ".kelt-%08lx", seed & 0xFFFFFFFFul);
    return Widen(folder + "\\." + name.substr(0, 200) + suffix);
}

int CommitTemporary(ScopedHandle& file, const std::wstring& temporary, const std::wstring& final,
                    std::string_view bytes)
{
    if (const int error = WriteAll(file.Get(), bytes)) {
        return error;
    }
    LARGE_INTEGER size {};
    if (!FlushFileBuffers(file.Get()) || !GetFileSizeEx(file.Get(), &size)) {
        return ErrorOr(ERROR_WRITE_FAULT);
    }
    if (size.QuadPart != static_cast<LONGLONG>(bytes.size())) {
        return ERROR_WRITE_FAULT;
    }
    file.Reset();
    if (!MoveFileExW(temporary.c_str(), final.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return ErrorOr(ERROR_WRITE_FAULT);
    }
    return 0;
}

// An argument quoted for the command line that the child's runtime splits again.
std::wstring QuotedArgument(const std::wstring& arg)
{
    if (!arg.empty() && arg.find_first_of(L" \t\n\v\"") == std::wstring::npos) {
        return arg;
    }
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : arg) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        // Backslashes before a quote are doubled, and the quote escaped.
        quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, L'\\');
    return quoted + L"\"";
}

// The text a wide call fills: fill(buffer, size) answers the text's length,
// the size it needs when the buffer is too small, or 0 when it fails (then
// empty).
template <typename Fill>
std::wstring FilledText(Fill fill)
{
    std::wstring text(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = fill(text.data(), static_cast<DWORD>(text.size()));
        if (length < text.size()) {
            text.resize(length);
            return text;
        }
        text.resize(length);
    }
}

// A copy of one of this process's standard handles that a child may inherit.
HANDLE InheritableCopy(DWORD which)
{
    HANDLE copy = nullptr;
    const HANDLE original = GetStdHandle(which);
    if (original == nullptr || original == INVALID_HANDLE_VALUE ||
        !DuplicateHandle(GetCurrentProcess(), original, GetCurrentProcess(), &copy, 0, TRUE, DUPLICATE_SAME_ACCESS)) {
        return INVALID_HANDLE_VALUE;
    }
    return copy;
}

}  // namespace

PathFacts FactsOf(const std::string& path)
{
    PathFacts facts;
    const std::wstring wide = Widen(path);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    facts.isSymlink = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    ScopedHandle file(OpenForQuery(wide, 0));
    if (!file.IsValid()) {
        // A console or device that must be opened for writing to be opened at all.
        file.Reset(OpenForQuery(wide, GENERIC_WRITE));
        if (!file.IsValid()) {
            return facts;
        }
    }
    if (GetFileType(file.Get()) != FILE_TYPE_DISK) {
        facts.kind = PathKind::Other;
        facts.writable = ScopedHandle(OpenForQuery(wide, GENERIC_WRITE)).IsValid();
        return facts;
    }
    BY_HANDLE_FILE_INFORMATION info {};
    if (!GetFileInformationByHandle(file.Get(), &info)) {
        return facts;
    }
    const bool folder = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    facts.kind = folder ? PathKind::Folder : PathKind::RegularFile;
    facts.writable = (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) == 0;
    facts.device = info.dwVolumeSerialNumber;
    facts.inode = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    return facts;
}

int ReplaceFileWhole(const std::string& target, std::string_view bytes)
{
    const std::string final = ReplacedFile(target);
    const std::string folder = FolderOf(final);
    std::wstring temporary;
    ScopedHandle file;
    for (unsigned attempt = 0; attempt < 64 && !file.IsValid(); ++attempt) {
        temporary = TemporaryName(folder, NameOf(final), attempt);
        file.Reset(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                               nullptr));
        if (!file.IsValid() && GetLastError() != ERROR_FILE_EXISTS) {
            return ErrorOr(ERROR_WRITE_FAULT);
        }
    }
    if (!file.IsValid()) {
        return ERROR_FILE_EXISTS;
    }
    const int error = CommitTemporary(file, temporary, Widen(final), bytes);
    if (error != 0) {
        file.Reset();
        DeleteFileW(temporary.c_str());
    }
    return error;
}

int AppendToFile(const std::string& target, std::string_view bytes)
{
    SetLastError(0);
    ScopedHandle file(CreateFileW(Widen(target).c_str(), FILE_APPEND_DATA | SYNCHRONIZE, FILE_SHARE_READ |
                                  FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid()) {
        return ErrorOr(ERROR_WRITE_FAULT);
    }
    return WriteAll(file.Get(), bytes);
}

int WriteToStandardOutput(std::string_view bytes)
{
    // What the program printed before goes out first.
    if (std::fflush(stdout) != 0) {
        return ErrorOr(ERROR_WRITE_FAULT);
    }
    const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    if (GetConsoleMode(output, &mode)) {
        const std::wstring text = Widen(bytes);
        DWORD written = 0;
        return text.empty() || WriteConsoleW(output, text.data(), static_cast<DWORD>(text.size()), &written, nullptr)
                   ? 0
                   : ErrorOr(ERROR_WRITE_FAULT);
    }
    // A reader that has gone answers as a closed pipe does on every system.
    return WriteAll(output, bytes) == 0 ? 0 : StreamWriteError(0);
}

int ProbeCreateIn(const std::string& folder)
{
    for (unsigned attempt = 0; attempt < 64; ++attempt) {
        const ScopedHandle probe(CreateFileW(TemporaryName(folder, "keltally", attempt).c_str(), GENERIC_WRITE, 0,
                                             nullptr, CREATE_NEW, FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE,
                                             nullptr));
        if (probe.IsValid()) {
            return 0;
        }
        if (GetLastError() != ERROR_FILE_EXISTS) {
            return ErrorOr(ERROR_ACCESS_DENIED);
        }
    }
    return ERROR_FILE_EXISTS;
}

int MakeFolders(const std::string& folder)
{
    const std::string absolute = AbsolutePath(folder);
    // Each folder on the way down, past the drive or share at its start.
    for (std::size_t end = 0; end != std::string::npos;) {
        end = absolute.find_first_of("\\/", end + 1);
        const std::string part = absolute.substr(0, end);
        if (part.size() <= 2 || part.back() == ':' || FactsOf(part).kind == PathKind::Folder) {
            continue;
        }
        if (!CreateDirectoryW(Widen(part).c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
            // The start of a share (\\server\name) cannot be made, only used.
            if (part.rfind("\\\\", 0) == 0 && end != std::string::npos) {
                continue;
            }
            return ErrorOr(ERROR_PATH_NOT_FOUND);
        }
    }
    return FactsOf(absolute).kind == PathKind::Folder ? 0 : ERROR_DIRECTORY;
}

std::string AbsolutePath(const std::string& path)
{
    const std::wstring wide = Widen(path.empty() ? std::string(".") : path);
    std::wstring full = FilledText([&wide](wchar_t* buffer, DWORD size) {
        return GetFullPathNameW(wide.c_str(), size, buffer, nullptr);
    });
    // A folder keeps no separator at its end, except a drive's root.
    while (full.size() > 3 && (full.back() == L'\\' || full.back() == L'/')) {
        full.pop_back();
    }
    return Narrow(full);
}

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of("\\/");
    if (slash == std::string::npos) {
        return path.size() == 2 && path[1] == ':' ? path : ".";
    }
    // A drive's root ("C:\") and the top folder ("\") keep their separator.
    const bool root = slash == 0 || (slash == 2 && path[1] == ':');
    return path.substr(0, root ? slash + 1 : slash);
}

std::string NameOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string ResolvedPath(const std::string& path)
{
    const ScopedHandle file(OpenForQuery(Widen(path), 0));
    if (!file.IsValid()) {
        return {};
    }
    std::wstring resolved = FilledText([&file](wchar_t* buffer, DWORD size) {
        return GetFinalPathNameByHandleW(file.Get(), buffer, size, VOLUME_NAME_DOS);
    });
    // The long-path prefix the system puts before a drive or share.
    if (resolved.rfind(L"\\\\?\\UNC\\", 0) == 0) {
        resolved = L"\\\\" + resolved.substr(8);
    } else if (resolved.rfind(L"\\\\?\\", 0) == 0) {
        resolved = resolved.substr(4);
    }
    return Narrow(resolved);
}

std::string ExecutableFolder()
{
    // A name cut short fills the whole buffer: try one twice the size.
    const std::wstring program = FilledText([](wchar_t* buffer, DWORD size) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer, size);
        return length < size ? length : size * 2;
    });
    return program.empty() ? "." : FolderOf(Narrow(program));
}

std::string ProgramFileName(const std::string& name)
{
    return name + ".exe";
}

bool IsExecutableFile(const std::string& path)
{
    DWORD kind = 0;
    return FactsOf(path).kind == PathKind::RegularFile && GetBinaryTypeW(Widen(path).c_str(), &kind);
}

ChildResult RunChildProcess(const std::string& program, const std::vector<std::string>& args,
                            std::string_view input)
{
    SECURITY_ATTRIBUTES inherited {sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherited, 0)) {
        return ChildResult {-1, ErrorOr(ERROR_BROKEN_PIPE)};
    }
    ScopedHandle childInput(readEnd);
    ScopedHandle feed(writeEnd);
    SetHandleInformation(feed.Get(), HANDLE_FLAG_INHERIT, 0);
    const ScopedHandle output(InheritableCopy(STD_OUTPUT_HANDLE));
    const ScopedHandle errors(InheritableCopy(STD_ERROR_HANDLE));

    std::wstring commandLine;
    for (const std::string& arg : args) {
        commandLine += (commandLine.empty() ? L"" : L" ") + QuotedArgument(Widen(arg));
    }
    STARTUPINFOW startup {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = childInput.Get();
    startup.hStdOutput = output.Get();
    startup.hStdError = errors.Get();
    PROCESS_INFORMATION process {};
    if (!CreateProcessW(Widen(program).c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return ChildResult {-1, ErrorOr(ERROR_FILE_NOT_FOUND)};
    }
    const ScopedHandle child(process.hProcess);
    CloseHandle(process.hThread);
    childInput.Reset();
    // A child that ends early closes the pipe; its exit code then tells why.
    WriteAll(feed.Get(), input);
    feed.Reset();
    DWORD exitCode = 0;
    if (WaitForSingleObject(child.Get(), INFINITE) != WAIT_OBJECT_0 || !GetExitCodeProcess(child.Get(), &exitCode)) {
        return ChildResult {-1, 0};
    }
    return ChildResult {static_cast<int>(exitCode), 0};
}

}  // namespace kel
