#pragma once
// What the settings file needs from the system: C streams on files named by a
// path in the system's own form (bytes on Linux, UTF-16 on Windows), flushing
// a written file or a folder's list of names to the device so it survives a
// power cut, keeping a file's owner when the file is replaced, and on Windows
// where the running program lies.

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

// Flushes the file or folder at path to the device; false if that failed.
bool SyncToDevice(const std::filesystem::path& path);

// Gives replacement the owner and group of original. Only the superuser may
// give a file away, and a file system may keep no owners at all; false if
// the owner could not be set.
bool KeepOwner(const std::filesystem::path& original, const std::filesystem::path& replacement);

#ifdef _WIN32
// The folder that holds the running program, for the settings file of a
// portable copy; empty when the system does not say.
std::filesystem::path ProgramFolder();
#endif

}  // namespace kel
