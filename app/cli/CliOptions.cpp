#include "app/cli/CliOptions.h"

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
    const QCommandLineOption json("json", "Write every pass with its samples to FILE as JSON; with --list-presets, "
                                          "print the presets as JSON.", "FILE");
    const QCommandLineOption png("png", "Write the graph and text views of the run to DIR/graph.png and "
                                        "DIR/text.png.", "DIR");
    parser.addOption(help);
    parser.addOption(dir);
    parser.addOption(drive);
    parser.addOption(preset);
    parser.addOption(listPresets);
    for (const ParameterSpec& spec : kRunParameterTable) {
        parser.addOption(spec.kind == ParameterKind::Flag
                             ? QCommandLineOption(OptionName(spec), HelpText(spec))
                             : QCommandLineOption(OptionName(spec), HelpText(spec), "N"));
    }
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
    return QString("--%1 must be between %2 and %3, not %4")
        .arg(OptionName(*refused))
        .arg(refused->low)
        .arg(refused->high)
        .arg(options.parameters.*refused->field);
}

}  // namespace kel
