#include "platform/ReportFiles.h"

#include "platform/posix/Descriptor.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kel {

namespace {

int ErrorOr(int fallback)
{
    return errno != 0 ? errno : fallback;
}

// Writes all of bytes to fd; 0 or the system's code (a write that takes
// nothing counts as a full device).
int WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return written < 0 ? ErrorOr(EIO) : ENOSPC;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

// A name for a temporary file beside name, short enough for any file system.
std::string TemporaryName(const std::string& folder, const std::string& name, unsigned attempt)
{
    static unsigned counter = 0;
    const auto seed = static_cast<unsigned long>(getpid()) * 7919ul + static_cast<unsigned long>(std::time(nullptr)) +
                      ++counter * 104729ul + attempt;
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, ".kelt-%08lx", seed & 0xFFFFFFFFul);
    return folder + "/." + name.substr(0, 200) + suffix;
}

void SyncFolder(const std::string& folder)
{
    const Descriptor fd(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.Get() >= 0) {
        fsync(fd.Get());
    }
}

// Fills the open temporary file, flushes and checks it, then gives it the final name.
int CommitTemporary(Descriptor& fd, const std::string& temporary, const std::string& final, std::string_view bytes,
                    const struct stat* old)
{
    if (const int error = WriteAll(fd.Get(), bytes)) {
        return error;
    }
    if (old != nullptr) {
        fchmod(fd.Get(), old->st_mode & 07777);
    }
    struct stat written {};
    errno = 0;
    if (fsync(fd.Get()) != 0 || fstat(fd.Get(), &written) != 0) {
        return ErrorOr(EIO);
    }
    if (written.st_size != static_cast<off_t>(bytes.size())) {
        return EIO;
    }
    if (close(fd.Release()) != 0 || rename(temporary.c_str(), final.c_str()) != 0) {
        return ErrorOr(EIO);
    }
    return 0;
}

}  // namespace

PathFacts FactsOf(const std::string& path)
{
    PathFacts facts;
    struct stat info {};
    facts.isSymlink = lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
    if (stat(path.c_str(), &info) != 0) {
        return facts;
    }
    facts.kind = S_ISREG(info.st_mode) ? PathKind::RegularFile : S_ISDIR(info.st_mode) ? PathKind::Folder
                                                                                         : PathKind::Other;
    facts.writable = access(path.c_str(), W_OK) == 0;
    facts.device = static_cast<std::uint64_t>(info.st_dev);
    facts.inode = static_cast<std::uint64_t>(info.st_ino);
    return facts;
}

int ReplaceFileWhole(const std::string& target, std::string_view bytes)
{
    const std::string final = ReplacedFile(target);
    const std::string folder = FolderOf(final);
    struct stat old {};
    const bool replacing = stat(final.c_str(), &old) == 0 && S_ISREG(old.st_mode);
    std::string temporary;
    int fdNumber = -1;
    for (unsigned attempt = 0; attempt < 64 && fdNumber < 0; ++attempt) {
        temporary = TemporaryName(folder, NameOf(final), attempt);
        fdNumber = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fdNumber < 0 && errno != EEXIST) {
            return ErrorOr(EIO);
        }
    }
    if (fdNumber < 0) {
        return EEXIST;
    }
    Descriptor fd(fdNumber);
    const int error = CommitTemporary(fd, temporary, final, bytes, replacing ? &old : nullptr);
    if (error != 0) {
        unlink(temporary.c_str());
        return error;
    }
    SyncFolder(folder);
    return 0;
}

int AppendToFile(const std::string& target, std::string_view bytes)
{
    errno = 0;
    Descriptor fd(open(target.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC | O_NOCTTY));
    if (fd.Get() < 0) {
        return ErrorOr(EIO);
    }
    if (const int error = WriteAll(fd.Get(), bytes)) {
        return error;
    }
    return close(fd.Release()) == 0 ? 0 : ErrorOr(EIO);
}

int WriteToStandardOutput(std::string_view bytes)
{
    errno = 0;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size() && std::fflush(stdout) == 0;
    return written ? 0 : ErrorOr(EIO);
}

int ProbeCreateIn(const std::string& folder)
{
    for (unsigned attempt = 0; attempt < 64; ++attempt) {
        const std::string probe = TemporaryName(folder, "keltally", attempt);
        const int fd = open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd >= 0) {
            close(fd);
            unlink(probe.c_str());
            return 0;
        }
        if (errno != EEXIST) {
            return ErrorOr(EIO);
        }
    }
    return EEXIST;
}

int MakeFolders(const std::string& folder)
{
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        return error.value();
    }
    return FactsOf(folder).kind == PathKind::Folder ? 0 : ENOTDIR;
}

std::string AbsolutePath(const std::string& path)
{
    std::string joined = path;
    if (path.empty() || path[0] != '/') {
        char buffer[PATH_MAX];
        const char* current = getcwd(buffer, sizeof buffer);
        if (current == nullptr) {
            return {};  // not the root folder: nobody named that
        }
        joined = std::string(current) + "/" + path;
    }
    std::vector<std::string> names;
    std::size_t start = 0;
    while (start <= joined.size()) {
        const std::size_t end = std::min(joined.find('/', start), joined.size());
        const std::string name = joined.substr(start, end - start);
        if (name == "..") {
            if (!names.empty()) {
                names.pop_back();
            }
        } else if (!name.empty() && name != ".") {
            names.push_back(name);
        }
        start = end + 1;
    }
    std::string clean;
    for (const std::string& name : names) {
        clean += "/" + name;
    }
    return clean.empty() ? "/" : clean;
}

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string ResolvedPath(const std::string& path)
{
    char* resolved = realpath(path.c_str(), nullptr);
    if (resolved == nullptr) {
        return {};
    }
    std::string text(resolved);
    std::free(resolved);
    return text;
}

std::string ExecutableFolder()
{
    char buffer[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer);
    if (length <= 0 || static_cast<std::size_t>(length) >= sizeof buffer) {
        return ".";
    }
    return FolderOf(std::string(buffer, static_cast<std::size_t>(length)));
}

std::string ProgramFileName(const std::string& name)
{
    return name;
}

bool IsExecutableFile(const std::string& path)
{
    return FactsOf(path).kind == PathKind::RegularFile && access(path.c_str(), X_OK) == 0;
}

ChildResult RunChildProcess(const std::string& program, const std::vector<std::string>& args,
                            std::string_view input)
{
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) {
        return ChildResult {-1, ErrorOr(EIO)};
    }
    Descriptor readEnd(ends[0]);
    Descriptor writeEnd(ends[1]);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, readEnd.Get(), STDIN_FILENO);
    std::vector<char*> argv;
    for (const std::string& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    pid_t child = 0;
    const int spawnError = posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawnError != 0) {
        return ChildResult {-1, spawnError};
    }
    close(readEnd.Release());
    // A child that ends early closes the pipe; its exit code then tells why.
    WriteAll(writeEnd.Get(), input);
    close(writeEnd.Release());
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) {
            return ChildResult {-1, 0};
        }
    }
    return ChildResult {WIFEXITED(status) ? WEXITSTATUS(status) : -1, 0};
}

}  // namespace kel
