#pragma once
// Where the program keeps its settings file.

#include <filesystem>

namespace kel {

// $XDG_CONFIG_HOME/KelTally.ini, or $HOME/.config/KelTally.ini when
// XDG_CONFIG_HOME is unset, empty or not an absolute path (such a value is
// ignored, as the desktop's base-directory rules say). With no usable HOME
// either, KelTally.ini in the current directory.
std::filesystem::path SettingsFilePath();

}  // namespace kel
