#include "platform/VolumeInfo.h"

#include "platform/ForeignNames.h"
#include "platform/StopSignals.h"
#include "platform/TimeLimit.h"
#include "platform/posix/Descriptor.h"
#include "platform/posix/OwnFiles.h"

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

}  // namespace

std::optional<std::vector<DriveEntry>> SystemLetterDrives()
{
    return std::nullopt;
}

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
    return AnswerWithin<bool>(kMountAnswerTime, [path] { return access(path.c_str(), W_OK) == 0; }).value_or(false);
}

bool IsFolder(const std::string& path)
{
    return AnswerWithin<bool>(kMountAnswerTime, [path] {
               struct stat info {};
               return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
           }).value_or(false);
}

bool Answers(const std::string& path)
{
    return AnswerWithin<bool>(kMountAnswerTime, [path] {
               struct statvfs info {};
               statvfs(path.c_str(), &info);
               return true;
           }).has_value();
}

std::optional<std::uint64_t> FreeBytesForUser(const std::string& path)
{
    return AnswerWithin<std::optional<std::uint64_t>>(kMountAnswerTime, [path]() -> std::optional<std::uint64_t> {
               struct statvfs info {};
               if (statvfs(path.c_str(), &info) != 0) {
                   return std::nullopt;
               }
               return static_cast<std::uint64_t>(info.f_bavail) * static_cast<std::uint64_t>(info.f_frsize);
           }).value_or(std::nullopt);
}

ProbeResult CreateAndDeleteProbe(const std::string& folderPath, const char* name)
{
    const Descriptor folder(open(folderPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.Get() < 0) {
        return {errno, false};
    }
    const HeldStopSignals held;
    const Descriptor probe(OpenOwnFile(folder.Get(), name, O_RDWR | O_CREAT));
    if (probe.Get() < 0) {
        return {errno, false};
    }
    // Held by another check at this moment: that check removes it.
    if (flock(probe.Get(), LOCK_EX | LOCK_NB) != 0) {
        return {errno == EWOULDBLOCK ? ForeignNameCode(ForeignName::Held) : errno, false};
    }
    if (unlinkat(folder.Get(), name, 0) != 0) {
        return {errno, true};
    }
    return {};
}

std::uint64_t OwnFileBytes(const std::string& folderPath, const std::vector<std::string>& names)
{
    const Descriptor folder(open(folderPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    std::uint64_t bytes = 0;
    for (const std::string& name : names) {
        bytes += folder.Get() >= 0 ? OwnFileBytes(folder.Get(), name.c_str()) : 0;
    }
    return bytes;
}

}  // namespace kel
