#pragma once
// Making a written file, or a folder's list of names, survive a power cut.

#include <filesystem>

namespace kel {

// Flushes the file or folder at path to the device; false if that failed.
bool SyncToDevice(const std::filesystem::path& path);

}  // namespace kel
