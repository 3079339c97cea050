#include "settings/SettingsFileIo.h"

#include "platform/SettingsFileSystem.h"

#include <array>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <memory>
#include <system_error>

namespace kel {

namespace fs = std::filesystem;

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// Creates a new file beside target that did not exist before, so a stale or
// foreign file of the same name is never written through.
FilePtr CreateTemporaryBeside(const fs::path& target, fs::path& tempPath)
{
    static std::atomic<unsigned> counter {0};
    const auto seed = static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string suffix = std::to_string(seed % 1000000007ULL) + "-" + std::to_string(counter++);
        tempPath = target.parent_path() / ("." + target.filename().string() + "." + suffix + ".tmp");
        FilePtr file(CreateNewFileStream(tempPath));
        if (file) {
            return file;
        }
    }
    return nullptr;
}

bool WriteAndClose(FilePtr file, std::string_view content)
{
    const bool written = std::fwrite(content.data(), 1, content.size(), file.get()) == content.size() &&
                         std::fflush(file.get()) == 0;
    return std::fclose(file.release()) == 0 && written;
}

// Linux gives up on a path after this many symbolic links.
constexpr int kMaxLinkHops = 40;

// The file that path names once every symbolic link is followed; it need not
// exist yet (a link into a folder that has no settings file so far). Nothing
// for a loop of links or a link that cannot be read.
std::optional<fs::path> FollowLinks(fs::path path)
{
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        std::error_code error;
        if (fs::symlink_status(path, error).type() != fs::file_type::symlink) {
            return path;
        }
        const fs::path link = fs::read_symlink(path, error);
        if (error) {
            return std::nullopt;
        }
        path = link.is_absolute() ? link : path.parent_path() / link;
    }
    return std::nullopt;
}

// Whether the file may be changed. A file with no write permission at all
// (on Windows: one with the read-only attribute) has been made read-only by
// its owner, and stays so even for a user the system would let write it;
// otherwise opening it for writing (which changes nothing) asks the system
// whether this user may write it there.
bool MayChange(const fs::path& target, fs::perms perms)
{
    constexpr fs::perms anyWrite = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    if ((perms & anyWrite) == fs::perms::none) {
        return false;
    }
    return FilePtr(OpenFileStream(target, "r+b")) != nullptr;
}

}  // namespace

std::optional<std::string> ReadSettingsFile(const fs::path& path)
{
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (status.type() == fs::file_type::not_found) {
        return std::string();
    }
    if (error || status.type() != fs::file_type::regular) {
        return std::nullopt;
    }
    FilePtr file(OpenFileStream(path, "rb"));
    if (!file) {
        return std::nullopt;
    }
    // One read of the size the file has now, then whatever it grew by since.
    const std::uintmax_t size = fs::file_size(path, error);
    std::string content(error ? 0 : static_cast<std::size_t>(size), '\0');
    content.resize(std::fread(content.data(), 1, content.size(), file.get()));
    std::array<char, 65536> chunk {};
    for (std::size_t got = 0; (got = std::fread(chunk.data(), 1, chunk.size(), file.get())) > 0;) {
        content.append(chunk.data(), got);
    }
    if (std::ferror(file.get()) != 0) {
        return std::nullopt;
    }
    return content;
}

bool ReplaceSettingsFile(const fs::path& path, std::string_view content)
{
    const auto followed = FollowLinks(path);
    if (!followed) {
        return false;
    }
    const fs::path& target = *followed;
    std::error_code error;
    const fs::path parent = target.parent_path();
    if (!parent.empty()) {
        fs::create_directories(parent, error);
        if (error) {
            return false;
        }
    }
    const fs::file_status status = fs::status(target, error);
    const bool exists = status.type() != fs::file_type::not_found;
    if (exists && (status.type() != fs::file_type::regular || !MayChange(target, status.permissions()))) {
        return false;
    }
    fs::path tempPath;
    FilePtr file = CreateTemporaryBeside(target, tempPath);
    if (!file) {
        return false;
    }
    bool ok = WriteAndClose(std::move(file), content);
    if (ok && exists) {
        // The user's file stays the user's, also when the superuser writes
        // it; where the owner cannot be kept the new file is the writer's.
        KeepOwner(target, tempPath);
        fs::permissions(tempPath, status.permissions(), fs::perm_options::replace, error);
        ok = !error;
    }
    // The new content is on the device before it takes the old file's place,
    // so a power cut leaves one whole version or the other.
    ok = ok && SyncToDevice(tempPath);
    if (ok) {
        fs::rename(tempPath, target, error);
        ok = !error;
    }
    if (!ok) {
        fs::remove(tempPath, error);
        return false;
    }
    SyncToDevice(parent.empty() ? fs::path(".") : parent);
    return true;
}

}  // namespace kel
