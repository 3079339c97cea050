#pragma once
// Where the program keeps its settings file, and the keys of its own that
// the file's [Application] section holds.

#include <filesystem>
#include <string_view>

namespace kel {

inline constexpr std::string_view kApplicationSection = "Application";
// How many [PresetN] sections the user's presets fill.
inline constexpr std::string_view kPresetCountKey = "Presets";
// The graph's scale the user chose in the dialog.
inline constexpr std::string_view kGraphScaleKey = "GraphScale";
// Whether runs from the dialog verify the data they read back: 1 or 0.
inline constexpr std::string_view kVerifyDataKey = "VerifyData";

// On Linux: $XDG_CONFIG_HOME/KelTally.ini, or $HOME/.config/KelTally.ini when
// XDG_CONFIG_HOME is unset, empty or not an absolute path (such a value is
// ignored, as the desktop's base-directory rules say). With no usable HOME
// either, KelTally.ini in the current directory.
// On Windows: PortableOrUserSettingsPath for the program's own folder and
// %APPDATA%.
std::filesystem::path SettingsFilePath();

// The settings file of a Windows program in programFolder: the KelTally.ini
// beside it when one lies there already (a portable copy), else
// KelTally\KelTally.ini in the user's application-data folder (beside the
// program when there is none). Windows only.
std::filesystem::path PortableOrUserSettingsPath(const std::filesystem::path& programFolder,
                                                 const std::filesystem::path& appDataFolder);

}  // namespace kel
