#pragma once
// Presets for the headless runner, loaded from the settings file exactly as
// the dialog loads them (a missing "(Default)" is added and written back).

#include "cli/CliOptions.h"

#include <optional>
#include <string>

namespace kel {

class PresetTable;

// The user's presets from the settings file, then the package's; a settings
// file that cannot be read is named on standard error and left alone.
void LoadRunnerPresets(PresetTable& presets);

// Fills the parameters that the command line did not set from the named
// preset, or without --preset from "(Default)" as the dialog starts (a full
// table without it leaves the built-in defaults); the refusal text when there
// is no preset of the name given.
std::optional<std::string> ApplyPreset(const PresetTable& presets, CliOptions& options);

// The user's presets in table order, then the package's, with their nine
// fields, as text (control characters in names shown as escapes) or as a JSON
// array that gives each value under its settings name (numFiles, fileSize,
// bufSize...) and under the record's parameter key (files, fileSizeKB,
// bufSizeKB...), and "shipped": true for the package's.
std::string FormatPresetList(const PresetTable& presets, bool json);

}  // namespace kel
