#include "app/cli/CliOptions.h"

#include <QCommandLineParser>
#include <QDir>

namespace kel {

namespace {

struct IntOption {
    const char* name;
    const char* description;
    int CliOptions::*field;
    bool CliOptions::*wasSet;
};

const IntOption kIntOptions[] = {
    {"files", "Number of test files, 1 to 100 (default 1).", &CliOptions::numFiles, &CliOptions::setNumFiles},
    {"file-size", "Size of each file in KB, 1 to 102400 (default 2400).", &CliOptions::fileSizeKB,
     &CliOptions::setFileSize},
    {"buffer", "Size of each transfer in KB, 1 to 1024 (default 96).", &CliOptions::bufSizeKB,
     &CliOptions::setBufSize},
    {"reads", "Read (Play) passes, 1 to 1000 (default 30).", &CliOptions::readReps, &CliOptions::setReadReps},
    {"writes", "Write (Record) passes, 1 to 1000 (default 30).", &CliOptions::writeReps, &CliOptions::setWriteReps},
    {"resolution", "Rate samples per second, 0 to 200 (default 10).", &CliOptions::sampsSec,
     &CliOptions::setSampsSec},
    {"min-read", "Minimum read rate in thousandths of an MB/s, for the graph (default 0: none).",
     &CliOptions::minRead, &CliOptions::setMinRead},
    {"min-write", "Minimum write rate in thousandths of an MB/s, for the graph (default 0: none).",
     &CliOptions::minWrite, &CliOptions::setMinWrite},
};

struct Range {
    const char* name;
    int CliOptions::*field;
    int low;
    int high;
};

// In the order the dialog checks them.
const Range kRanges[] = {
    {"--files", &CliOptions::numFiles, 1, 100},        {"--file-size", &CliOptions::fileSizeKB, 1, 102400},
    {"--buffer", &CliOptions::bufSizeKB, 1, 1024},     {"--reads", &CliOptions::readReps, 1, 1000},
    {"--writes", &CliOptions::writeReps, 1, 1000},     {"--resolution", &CliOptions::sampsSec, 0, 200},
};

CliParseResult Refuse(const QString& text)
{
    return CliParseResult {std::nullopt, 2, "keltally-cli: " + text + "\nTry 'keltally-cli --help'."};
}

}  // namespace

CliParseResult ParseCliOptions(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Measures how fast a drive sustains writing (Record) and reading (Play) large files,\n"
        "with the system's file cache kept out of the figures. Runs the same engine as the\n"
        "Kel Tallyforge dialog, without a display.");
    const QCommandLineOption help({"h", "help"}, "Show this help.");
    const QCommandLineOption dir("dir", "Folder to put the test files in (default: the current folder).", "PATH");
    const QCommandLineOption drive("drive", "Drive letter as the dialog lists it, instead of --dir.", "LETTER");
    const QCommandLineOption preset("preset", "Start from the named preset of the settings file.", "NAME");
    const QCommandLineOption listPresets("list-presets", "Print the presets of the settings file and exit.");
    const QCommandLineOption simultaneous("simultaneous", "Write an extra file during every read pass.");
    const QCommandLineOption json("json", "Write every pass with its samples to FILE as JSON; with --list-presets, "
                                          "print the presets as JSON.", "FILE");
    const QCommandLineOption png("png", "Write the graph and text views of the run to DIR/graph.png and "
                                        "DIR/text.png.", "DIR");
    parser.addOption(help);
    parser.addOption(dir);
    parser.addOption(drive);
    parser.addOption(preset);
    parser.addOption(listPresets);
    for (const IntOption& option : kIntOptions) {
        parser.addOption(QCommandLineOption(option.name, option.description, "N"));
    }
    parser.addOption(simultaneous);
    parser.addOption(png);

    // "--json" takes a file, except after --list-presets where it stands alone.
    QStringList args = arguments;
    const bool listing = args.contains("--list-presets");
    if (listing) {
        parser.addOption(QCommandLineOption("json", "Print the presets as JSON (with --list-presets)."));
    } else {
        parser.addOption(json);
    }
    if (!parser.parse(args)) {
        return Refuse(parser.errorText());
    }
    if (parser.isSet(help)) {
        return CliParseResult {std::nullopt, 0, parser.helpText()};
    }
    if (!parser.positionalArguments().isEmpty()) {
        return Refuse("unexpected argument '" + parser.positionalArguments().first() + "'");
    }

    CliOptions options;
    options.listPresets = parser.isSet(listPresets);
    if (options.listPresets) {
        options.json = parser.isSet("json");
    } else {
        options.jsonFile = parser.value("json");
    }
    options.pngDir = parser.value(png);
    options.presetName = parser.value(preset);
    options.simultaneous = parser.isSet(simultaneous);
    for (const IntOption& option : kIntOptions) {
        if (!parser.isSet(option.name)) {
            continue;
        }
        bool ok = false;
        const int value = parser.value(option.name).toInt(&ok, 10);
        if (!ok) {
            return Refuse(QString("--%1 needs a whole number, not '%2'").arg(option.name, parser.value(option.name)));
        }
        options.*option.field = value;
        options.*option.wasSet = true;
    }
    if (parser.isSet(dir) && parser.isSet(drive)) {
        return Refuse("--dir and --drive cannot be used together");
    }
    if (parser.isSet(drive)) {
        const QString letter = parser.value(drive).remove(':');
        if (letter.size() != 1 || !letter[0].isLetter() || letter[0].unicode() > 0x7F) {
            return Refuse("--drive needs a drive letter such as C, not '" + parser.value(drive) + "'");
        }
        options.driveLetter = letter[0].toUpper().toLatin1();
    } else {
        options.directory = QDir(parser.isSet(dir) ? parser.value(dir) : QDir::currentPath()).absolutePath();
    }
    return CliParseResult {options, 0, {}};
}

std::optional<QString> ValidateParameters(const CliOptions& options)
{
    for (const Range& range : kRanges) {
        const int value = options.*range.field;
        if (value < range.low || value > range.high) {
            return QString("%1 must be between %2 and %3, not %4").arg(range.name).arg(range.low).arg(range.high).arg(value);
        }
    }
    return std::nullopt;
}

}  // namespace kel
