#include "tests/support/PlantedNames.h"

#include <cerrno>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <random>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

namespace kel::test {

const std::vector<PlantCase>& PlantCases()
{
    static const std::vector<PlantCase> cases {
        {Planted::HardLink, "HardLink", EMLINK,
         "The file also has other names (hard links), so the program leaves it untouched"},
        {Planted::SymbolicLink, "SymbolicLink", ELOOP, "The name is a symbolic link, which the program leaves untouched"},
        {Planted::OtherUsersFile, "OtherUsersFile", EOWNERDEAD,
         "The file belongs to another user, so the program leaves it untouched"},
        {Planted::Folder, "Folder", EISDIR, "The name is a folder, which the program leaves untouched"},
        {Planted::Fifo, "Fifo", ESPIPE, "The name is a FIFO (named pipe), which the program leaves untouched"},
        {Planted::Socket, "Socket", ENXIO, "The name is a socket, which the program leaves untouched"},
        {Planted::Device, "Device", ENODEV, "The name is a device, which the program leaves untouched"},
    };
    return cases;
}

bool Plant(Planted kind, const std::string& path, const std::string& victim)
{
    switch (kind) {
    case Planted::HardLink:
        return link(victim.c_str(), path.c_str()) == 0;
    case Planted::SymbolicLink:
        return symlink(victim.c_str(), path.c_str()) == 0;
    case Planted::OtherUsersFile: {
        std::ofstream(path) << ReadWholeFile(victim);
        constexpr uid_t kOtherUser = 54321;
        return chown(path.c_str(), kOtherUser, kOtherUser) == 0 && chmod(path.c_str(), 0666) == 0;
    }
    case Planted::Folder:
        return mkdir(path.c_str(), 0700) == 0;
    case Planted::Fifo:
        return mkfifo(path.c_str(), 0600) == 0;
    case Planted::Socket: {
        sockaddr_un address {};
        address.sun_family = AF_UNIX;
        if (path.size() >= sizeof address.sun_path) {
            return false;
        }
        path.copy(address.sun_path, path.size());
        const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const bool bound = fd >= 0 && bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
        if (fd >= 0) {
            close(fd);
        }
        return bound;
    }
    case Planted::Device:
        return mknod(path.c_str(), S_IFCHR | 0600, makedev(1, 3)) == 0;  // as /dev/null
    }
    return false;
}

std::string Identity(const std::string& path)
{
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0) {
        return "missing";
    }
    const std::string identity = std::to_string(info.st_mode & S_IFMT) + ":" + std::to_string(info.st_ino) + ":" +
                                 std::to_string(info.st_nlink);
    if (!S_ISREG(info.st_mode)) {
        return identity;
    }
    return identity + ":" + std::to_string(info.st_size) + ":" + std::to_string(info.st_ctim.tv_sec) + "." +
           std::to_string(info.st_ctim.tv_nsec);
}

std::string ReadWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

Victim::Victim(std::string path, std::size_t bytes) : m_path(std::move(path))
{
    std::mt19937 random(static_cast<unsigned>(bytes));
    m_content.resize(bytes);
    for (char& c : m_content) {
        c = static_cast<char>(random() & 0xFF);
    }
    std::ofstream(m_path, std::ios::binary) << m_content;
}

bool Victim::Unchanged() const
{
    return ReadWholeFile(m_path) == m_content;
}

}  // namespace kel::test
