#pragma once
// The headless runner's command line.

#include "engine/RunParameters.h"
#include "view/GraphScale.h"

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace kel {

struct CliOptions {
    QString directory;     // test folder, when --dir (or neither) is given
    char driveLetter = 0;  // when --drive is given
    QString presetName;    // --preset; empty: the settings file's "(Default)"
    bool listPresets = false;
    bool listDrives = false;
    RunParameters parameters = DefaultRunParameters();
    // Which parameters the command line set itself (a preset fills the
    // others), by their place in the parameter table.
    std::array<bool, kRunParameterTable.size()> setOnCommandLine {};
    bool json = false;  // with --list-presets or --list-drives: print JSON
    QString jsonFile;   // "-": standard output
    QString metricsFile;
    QString pngDir;
    GraphScale pngScale;  // --scale, for the --png pictures
    bool failBelow = false;
};

struct CliParseResult {
    std::optional<CliOptions> options;  // empty: stop with exitCode
    int exitCode = 0;
    QString output;  // help or version text for stdout, or the refusal for stderr
};

CliParseResult ParseCliOptions(const QStringList& arguments);

// Checks the parameters against the ranges the dialog accepts; a refusal
// names the option and its range, and the preset when the value came from one.
std::optional<QString> ValidateParameters(const CliOptions& options);

// The refusal of --fail-below when neither kind has a minimum rate to judge by.
std::optional<QString> ValidateFailBelow(const CliOptions& options);

}  // namespace kel
