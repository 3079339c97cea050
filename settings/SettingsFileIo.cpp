#include "settings/SettingsFileIo.h"

#include "platform/FileSync.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
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
        FilePtr file(std::fopen(tempPath.c_str(), "wbx"));
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

fs::path ResolveLink(const fs::path& path)
{
    std::error_code error;
    if (fs::is_symlink(fs::symlink_status(path, error))) {
        const fs::path resolved = fs::weakly_canonical(path, error);
        if (!error) {
            return resolved;
        }
    }
    return path;
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
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        return std::nullopt;
    }
    return content;
}

bool ReplaceSettingsFile(const fs::path& path, std::string_view content)
{
    const fs::path target = ResolveLink(path);
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
    if (exists && status.type() != fs::file_type::regular) {
        return false;
    }
    fs::path tempPath;
    FilePtr file = CreateTemporaryBeside(target, tempPath);
    if (!file) {
        return false;
    }
    bool ok = WriteAndClose(std::move(file), content);
    if (ok && exists) {
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
