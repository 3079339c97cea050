#include "cli/CliOptions.h"

#include "Version.h"
#include "settings/PresetTable.h"

#include <QCommandLineParser>
#include <QDir>

namespace kel {

namespace {

// The option's help line, with its range and default from the table.
QString HelpText(const ParameterSpec& spec)
{
    const QString text = QString::fromUtf8(spec.help.data(), static_cast<qsizetype>(spec.help.size()));
    switch (spec.kind) {
    case ParameterKind::Count:
        return QString("%1, %2 to %3 (default %4).").arg(text).arg(spec.low).arg(spec.high).arg(spec.defaultValue);
    case ParameterKind::Threshold:
        return QString("%1 (default %2: none).").arg(text).arg(spec.defaultValue);
    case ParameterKind::Flag:
        break;
    }
    return text + ".";
}

QString OptionName(const ParameterSpec& spec)
{
    return QString::fromLatin1(spec.option.data(), static_cast<qsizetype>(spec.option.size()));
}

CliParseResult Refuse(const QString& text)
{
    return CliParseResult {std::nullopt, 2, "keltally-cli: " + text + "\nTry 'keltally-cli --help'."};
}

const char* const kDescription =
    "Measures how fast a drive sustains writing (Record) and reading (Play) large files,\n"
    "with the system's file cache kept out of the figures. Runs the same engine as the\n"
    "Kel Tallyforge dialog, without a display. Without --preset the settings file's\n"
    "\"(Default)\" preset gives the parameters the command line leaves out.\n"
    "\n"
    "Exit codes: 0 complete, 1 failed (also when a report or the output could not be\n"
    "written), 2 refused before the run, 3 complete but a sample lay below its kind's\n"
    "minimum rate (with --fail-below), 128 + the signal's number when stopped by a\n"
    "signal (130 Ctrl-C, 143 SIGTERM, 129 SIGHUP, 141 when standard output was closed).";

}  // namespace

CliParseResult ParseCliOptions(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(kDescription);
    const QCommandLineOption help({"h", "help"}, "Show this help.");
    const QCommandLineOption version({"v", "version"}, "Show the version.");
    const QCommandLineOption dir("dir", "Folder to put the test files in (default: the current folder).", "PATH");
    const QCommandLineOption drive("drive", "Drive letter as --list-drives shows it, instead of --dir.", "LETTER");
    const QCommandLineOption preset("preset", "Start from the named preset of the settings file.", "NAME");
    const QCommandLineOption listPresets("list-presets", "Print the presets of the settings file and exit.");
    const QCommandLineOption listDrives("list-drives", "Print the drives as the dialog lists them and exit.");
    const QCommandLineOption json(
        "json",
        "Write the run's record (every pass with its samples, the summary, the file system and how the run ended) "
        "to FILE as JSON; - for standard output, the pass lines then go to standard error. With --list-presets "
        "or --list-drives, print the list as JSON.",
        "FILE");
    const QCommandLineOption metrics("metrics",
                                     "Write the run's figures to FILE in the Prometheus text format, for "
                                     "node_exporter's textfile collector; - for standard output, the pass lines "
                                     "then go to standard error.",
                                     "FILE");
    const QCommandLineOption png("png", "Write the graph and text views of the run to DIR/graph.png and "
                                        "DIR/text.png; DIR is made when missing.", "DIR");
    const QCommandLineOption scale("scale",
                                   "The graph's scale in the --png pictures: auto fits it to the results (the top "
                                   "is the next 1, 2 or 5 x 10^n MB/s above the fastest sample), N puts N MB/s at "
                                   "the top (default 20).",
                                   "auto|N");
    const QCommandLineOption failBelow("fail-below", "Exit with 3 when a sample lies below its kind's minimum "
                                                     "rate (--min-read, --min-write or the preset's).");
    parser.addOption(help);
    parser.addOption(version);
    parser.addOption(dir);
    parser.addOption(drive);
    parser.addOption(preset);
    parser.addOption(listPresets);
    parser.addOption(listDrives);
    for (const ParameterSpec& spec : kRunParameterTable) {
        parser.addOption(spec.kind == ParameterKind::Flag
                             ? QCommandLineOption(OptionName(spec), HelpText(spec))
                             : QCommandLineOption(OptionName(spec), HelpText(spec), "N"));
    }
    parser.addOption(failBelow);
    parser.addOption(png);
    parser.addOption(scale);
    parser.addOption(metrics);

    // "--json" takes a file, except after a listing option where it stands alone.
    const bool listing = arguments.contains("--list-presets") || arguments.contains("--list-drives");
    if (listing) {
        parser.addOption(QCommandLineOption("json", "Print the list as JSON (with --list-presets or --list-drives)."));
    } else {
        parser.addOption(json);
    }
    if (!parser.parse(arguments)) {
        return Refuse(parser.errorText());
    }
    if (parser.isSet(help)) {
        return CliParseResult {std::nullopt, 0, parser.helpText()};
    }
    if (parser.isSet(version)) {
        return CliParseResult {std::nullopt, 0, QString("keltally-cli %1").arg(kVersion)};
    }
    if (!parser.positionalArguments().isEmpty()) {
        return Refuse("unexpected argument '" + parser.positionalArguments().first() + "'");
    }
    for (const QString& name : parser.optionNames()) {
        if (parser.value(name).isEmpty() && !parser.values(name).isEmpty()) {
            return Refuse("--" + name + " needs a value, not an empty one");
        }
    }

    CliOptions options;
    options.listPresets = parser.isSet(listPresets);
    options.listDrives = parser.isSet(listDrives);
    if (options.listPresets && options.listDrives) {
        return Refuse("--list-presets and --list-drives cannot be used together");
    }
    if (listing) {
        options.json = parser.isSet("json");
    } else {
        options.jsonFile = parser.value("json");
    }
    options.metricsFile = parser.value(metrics);
    options.pngDir = parser.value(png);
    if (parser.isSet(scale)) {
        const std::string scaleText = parser.value(scale).toStdString();
        const auto chosen = ParseGraphScale(scaleText);
        if (!chosen) {
            return Refuse(QString::fromStdString(GraphScaleRefusal(scaleText)));
        }
        options.pngScale = *chosen;
    }
    options.presetName = parser.value(preset);
    options.failBelow = parser.isSet(failBelow);
    for (std::size_t i = 0; i < kRunParameterTable.size(); ++i) {
        const ParameterSpec& spec = kRunParameterTable[i];
        const QString name = OptionName(spec);
        if (!parser.isSet(name)) {
            continue;
        }
        int value = 1;
        if (spec.kind != ParameterKind::Flag) {
            bool ok = false;
            value = parser.value(name).toInt(&ok, 10);
            if (!ok) {
                return Refuse(QString("--%1 needs a whole number, not '%2'").arg(name, parser.value(name)));
            }
        }
        options.parameters.*spec.field = value;
        options.setOnCommandLine[i] = true;
    }
    if (options.jsonFile == "-" && options.metricsFile == "-") {
        return Refuse("--json and --metrics cannot both go to standard output");
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
    const ParameterSpec* refused = FirstUnacceptedParameter(options.parameters);
    if (refused == nullptr) {
        return std::nullopt;
    }
    const auto place = static_cast<std::size_t>(refused - kRunParameterTable.data());
    const QString preset =
        options.presetName.isEmpty()
            ? QString::fromLatin1(kDefaultPresetName.data(), static_cast<qsizetype>(kDefaultPresetName.size()))
            : options.presetName;
    return QString("--%1 must be between %2 and %3, not %4%5")
        .arg(OptionName(*refused))
        .arg(refused->low)
        .arg(refused->high)
        .arg(options.parameters.*refused->field)
        .arg(options.setOnCommandLine[place] ? QString() : " (from the preset \"" + preset + "\")");
}

std::optional<QString> ValidateFailBelow(const CliOptions& options)
{
    if (options.failBelow && options.parameters.minRead <= 0 && options.parameters.minWrite <= 0) {
        return QString("--fail-below needs a minimum rate to judge by: --min-read, --min-write or a preset "
                       "with one");
    }
    return std::nullopt;
}

}  // namespace kel
