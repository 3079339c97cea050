#include "platform/VolumeInfo.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <pwd.h>
#include <sstream>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/sysmacros.h>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace kel {

namespace {

constexpr const char* kMountTablePath = "/proc/self/mountinfo";
constexpr const char* kLabelFolder = "/dev/disk/by-label";

class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor()
    {
        if (m_fd >= 0) {
            close(m_fd);
        }
    }
    int Get() const { return m_fd; }

private:
    int m_fd;
};

int OpenProbe(const std::string& path)
{
    // O_NOFOLLOW: the probe never writes through a link planted under its name.
    return open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
}

}  // namespace

std::string ReadMountTable()
{
    std::ifstream in(kMountTablePath);
    if (!in) {
        return {};
    }
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<LabelLink> ListLabelLinks()
{
    std::vector<LabelLink> links;
    std::error_code error;
    for (auto it = std::filesystem::directory_iterator(kLabelFolder, error);
         !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
        LabelLink link;
        link.name = it->path().filename().string();
        std::error_code resolveError;
        link.devicePath = std::filesystem::canonical(it->path(), resolveError).string();
        if (resolveError) {
            continue;
        }
        struct stat info {};
        if (stat(link.devicePath.c_str(), &info) == 0 && S_ISBLK(info.st_mode)) {
            link.deviceNumber = std::to_string(major(info.st_rdev)) + ":" + std::to_string(minor(info.st_rdev));
        }
        links.push_back(std::move(link));
    }
    return links;
}

std::string HomeDirectory()
{
    if (const char* home = std::getenv("HOME"); home != nullptr && home[0] != '\0') {
        return home;
    }
    std::vector<char> buffer(16384);
    struct passwd entry {};
    struct passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr &&
        found->pw_dir != nullptr) {
        return found->pw_dir;
    }
    return {};
}

bool IsWritableFolder(const std::string& path)
{
    return access(path.c_str(), W_OK) == 0;
}

bool IsFolder(const std::string& path)
{
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::optional<std::uint64_t> FreeBytesForUser(const std::string& path)
{
    struct statvfs info {};
    if (statvfs(path.c_str(), &info) != 0) {
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(info.f_bavail) * static_cast<std::uint64_t>(info.f_frsize);
}

bool CreateAndDeleteProbe(const std::string& path)
{
    int fd = OpenProbe(path);
    if (fd < 0 && errno == ELOOP && unlink(path.c_str()) == 0) {
        fd = OpenProbe(path);  // a stale link is replaced like a stale file
    }
    if (fd < 0) {
        return false;
    }
    {
        const Descriptor probe(fd);
        // Held by another check at this moment: that check removes it.
        if (flock(probe.Get(), LOCK_EX | LOCK_NB) != 0) {
            return false;
        }
    }
    unlink(path.c_str());
    return true;
}

}  // namespace kel
