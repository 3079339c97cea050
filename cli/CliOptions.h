#pragma once
// The headless runner's command line. Paths are kept as the system's bytes.

#include "engine/RunParameters.h"
#include "view/GraphScale.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace kel {

struct CliOptions {
    std::string directory;  // test folder, when --dir (or neither) is given: absolute
    char driveLetter = 0;   // when --drive is given
    std::string presetName; // --preset; empty: the settings file's "(Default)"
    bool listPresets = false;
    bool listDrives = false;
    RunParameters parameters = DefaultRunParameters();
    // Which parameters the command line set itself (a preset fills the
    // others), by their place in the parameter table.
    std::array<bool, kRunParameterTable.size()> setOnCommandLine {};
    bool json = false;     // with --list-presets or --list-drives: print JSON
    std::string jsonFile;  // "-": standard output
    std::string metricsFile;
    std::string pngDir;
    GraphScale pngScale;  // --scale, for the --png pictures
    bool failBelow = false;
    // --max-buffer: with --fail-below, a kind fails by the buffer its stream
    // needs instead of by its samples.
    std::optional<long long> maxBufferKB;
    bool verify = false;
};

struct CliParseResult {
    std::optional<CliOptions> options;  // empty: stop with exitCode
    int exitCode = 0;
    std::string output;  // help or version text for stdout, or the refusal for stderr
};

// arguments[0] is the program as it was called, which the help names.
CliParseResult ParseCliOptions(const std::vector<std::string>& arguments);

// Checks the parameters against the ranges the dialog accepts; a refusal
// names the option and its range, and the preset when the value came from one.
std::optional<std::string> ValidateParameters(const CliOptions& options);

// The refusal of --fail-below when neither kind has a minimum rate to judge by.
std::optional<std::string> ValidateFailBelow(const CliOptions& options);

}  // namespace kel
