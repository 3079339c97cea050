#pragma once
// C streams on files named by a path in the system's own form (bytes on
// Linux, UTF-16 on Windows), for the settings file.

#include <cstdio>
#include <filesystem>

namespace kel {

// std::fopen for a path; null on failure.
std::FILE* OpenFileStream(const std::filesystem::path& path, const char* mode);

// A new file for writing in binary mode that did not exist before; null when
// the name is taken (a stale or foreign file is never written through) or
// the file cannot be made.
std::FILE* CreateNewFileStream(const std::filesystem::path& path);

// An environment variable as a path; empty when unset.
std::filesystem::path EnvironmentPath(const char* name);

}  // namespace kel
