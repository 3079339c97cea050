#pragma once
// Keeping a file's owner when the program replaces it with a new one.

#include <filesystem>

namespace kel {

// Gives replacement the owner and group of original. Only the superuser may
// give a file away, and a file system may keep no owners at all; false if
// the owner could not be set.
bool KeepOwner(const std::filesystem::path& original, const std::filesystem::path& replacement);

}  // namespace kel
