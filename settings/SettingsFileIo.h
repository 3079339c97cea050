#pragma once
// Whole-file reading and replacing for the settings file. A replacement is
// written to a temporary file beside the target and renamed over it, so the
// target always holds either its old or its new content.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kel {

// The file's bytes; an empty text when the file does not exist; nothing when
// it exists but cannot be read as a regular file.
std::optional<std::string> ReadSettingsFile(const std::filesystem::path& path);

// Replaces the file's content, creating missing parent directories. A path
// that is a symbolic link, even one whose target does not exist yet, has its
// final target written and stays a link. An existing file keeps its
// permission bits, and is not written at all when it has no write permission
// bit or this user may not write it (a read-only file system, another
// owner's file). Returns false, with the old file whole and no temporary file
// left, when any step fails or is refused.
bool ReplaceSettingsFile(const std::filesystem::path& path, std::string_view content);

}  // namespace kel
