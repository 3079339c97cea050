#pragma once
// The headless runner's command line.

#include <QString>
#include <QStringList>

#include <optional>

namespace kel {

struct CliOptions {
    QString directory;  // test folder, when --dir (or neither) is given
    char driveLetter = 0;  // when --drive is given
    QString presetName;    // --preset
    bool listPresets = false;
    int numFiles = 1;
    int fileSizeKB = 2400;
    int bufSizeKB = 96;
    int readReps = 30;
    int writeReps = 30;
    int sampsSec = 10;
    int minRead = 0;
    int minWrite = 0;
    bool simultaneous = false;
    bool json = false;  // with --list-presets: print JSON
    QString jsonFile;
    QString pngDir;
    // Which of the parameters the command line set itself (a preset fills the others).
    bool setNumFiles = false, setFileSize = false, setBufSize = false, setReadReps = false, setWriteReps = false,
         setSampsSec = false, setMinRead = false, setMinWrite = false;
};

struct CliParseResult {
    std::optional<CliOptions> options;  // empty: stop with exitCode
    int exitCode = 0;
    QString output;  // help text for stdout, or the refusal for stderr
};

CliParseResult ParseCliOptions(const QStringList& arguments);

// Checks the parameters against the dialog's ranges; a refusal names the range.
std::optional<QString> ValidateParameters(const CliOptions& options);

}  // namespace kel
