#pragma once
// Where the running program lies, for the settings file of a portable copy.

#include <filesystem>

namespace kel {

// The folder that holds the running program; empty when the system does not say.
std::filesystem::path ProgramFolder();

}  // namespace kel
