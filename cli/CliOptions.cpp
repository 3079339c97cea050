#include "cli/CliOptions.h"

#include "Version.h"
#include "cli/CliHelp.h"
#include "platform/ReportFiles.h"
#include "platform/TextRules.h"
#include "settings/PresetTable.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <charconv>
#include <limits>
#include <map>

namespace kel {

namespace {

CliParseResult Refuse(const std::string& text)
{
    return CliParseResult {std::nullopt, 2, "keltally-cli: " + text + "\nTry 'keltally-cli --help'."};
}

// Shown in a refusal: control characters and bytes that are not UTF-8 as escapes.
std::string Shown(const std::string& text)
{
    return PrintableText(text);
}

// A whole number as it may be typed: blanks around it and a sign allowed.
std::optional<int> WholeNumber(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    if (text.size() > 1 && text.front() == '+' && text[1] != '-') {
        text.remove_prefix(1);
    }
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 10);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

// The option a parse error names: the text before the first ": ", or after
// "convert: " up to " = ".
std::string NamedOption(const std::string& what)
{
    const std::size_t convert = what.find("convert: ");
    if (convert != std::string::npos) {
        const std::size_t start = convert + 9;
        return what.substr(start, what.find(" = ", start) - start);
    }
    return what.substr(0, what.find(": "));
}

// The refusal for what the parser left over: options it does not know
// (as their names, a short group letter by letter), else the first
// positional argument; nothing when nothing is left.
std::optional<std::string> LeftOverRefusal(const std::vector<std::string>& remaining)
{
    std::vector<std::string> unknown;
    std::optional<std::string> positional;
    bool onlyPositional = false;
    for (const std::string& arg : remaining) {
        if (!onlyPositional && arg == "--") {
            onlyPositional = true;
        } else if (!onlyPositional && arg.size() > 2 && arg.compare(0, 2, "--") == 0) {
            unknown.push_back(arg.substr(2, arg.find('=') - 2));
        } else if (!onlyPositional && arg.size() > 1 && arg[0] == '-') {
            for (std::size_t i = 1; i < arg.size(); ++i) {
                unknown.push_back(std::string(1, arg[i]));
            }
        } else if (!positional) {
            positional = arg;
        }
    }
    if (unknown.size() == 1) {
        return "Unknown option '" + Shown(unknown[0]) + "'.";
    }
    if (!unknown.empty()) {
        std::string list;
        for (const std::string& name : unknown) {
            list += (list.empty() ? "" : ", ") + Shown(name);
        }
        return "Unknown options: " + list + ".";
    }
    if (positional) {
        return "unexpected argument '" + Shown(*positional) + "'";
    }
    return std::nullopt;
}

struct ParsedValues {
    std::map<std::string, std::string> values;  // by long name, the last value given
    std::map<std::string, bool> flags;
};

}  // namespace

CliParseResult ParseCliOptions(const std::vector<std::string>& arguments)
{
    // "--json" takes a file, except after a listing option where it stands alone.
    const bool listing = std::find_if(arguments.begin() + (arguments.empty() ? 0 : 1), arguments.end(),
                                      [](const std::string& arg) {
                                          return arg == "--list-presets" || arg == "--list-drives";
                                      }) != arguments.end();
    const std::vector<OptionEntry> entries = RunnerOptions(listing);
    CLI::App app;
    app.set_help_flag();
    app.allow_extras();
    ParsedValues parsed;
    std::map<const CLI::Option*, std::string> longNames;
    for (const OptionEntry& entry : entries) {
        const std::string names =
            (entry.shortName != 0 ? std::string("-") + entry.shortName + "," : std::string()) + "--" + entry.longName;
        CLI::Option* option = entry.valueName.empty() ? app.add_flag(names, parsed.flags[entry.longName])
                                                      : app.add_option(names, parsed.values[entry.longName]);
        option->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
        longNames[option] = entry.longName;
    }
    std::vector<const char*> argv;
    for (const std::string& arg : arguments) {
        argv.push_back(arg.c_str());
    }
    try {
        app.parse(static_cast<int>(argv.size()), argv.data());
    } catch (const CLI::ArgumentMismatch& error) {
        return Refuse("Missing value after '" + Shown(NamedOption(error.what())) + "'.");
    } catch (const CLI::ConversionError& error) {
        return Refuse("Unexpected value after '" + Shown(NamedOption(error.what())) + "'.");
    } catch (const CLI::Error& error) {
        return Refuse(Shown(error.what()));
    }
    if (const auto refusal = LeftOverRefusal(app.remaining())) {
        return Refuse(*refusal);
    }
    const auto given = [&](const std::string& name) { return app.count("--" + name) > 0; };
    if (parsed.flags["help"]) {
        return CliParseResult {std::nullopt, 0, RunnerHelpText(arguments.empty() ? "" : arguments[0], entries)};
    }
    if (parsed.flags["version"]) {
        return CliParseResult {std::nullopt, 0, std::string("keltally-cli ") + kVersion};
    }
    for (const CLI::Option* option : app.parse_order()) {
        const std::string& name = longNames[option];
        if (parsed.values.count(name) != 0 && parsed.values[name].empty()) {
            return Refuse("--" + name + " needs a value, not an empty one");
        }
    }

    CliOptions options;
    options.listPresets = parsed.flags["list-presets"];
    options.listDrives = parsed.flags["list-drives"];
    if (options.listPresets && options.listDrives) {
        return Refuse("--list-presets and --list-drives cannot be used together");
    }
    if (listing) {
        options.json = parsed.flags["json"];
    } else {
        options.jsonFile = parsed.values["json"];
    }
    options.metricsFile = parsed.values["metrics"];
    options.pngDir = parsed.values["png"];
    if (given("scale")) {
        const std::string& scaleText = parsed.values["scale"];
        const auto chosen = ParseGraphScale(scaleText);
        if (!chosen) {
            return Refuse(GraphScaleRefusal(Shown(scaleText)));
        }
        options.pngScale = *chosen;
    }
    options.presetName = parsed.values["preset"];
    options.failBelow = parsed.flags["fail-below"];
    options.verify = parsed.flags["verify"];
    if (given("max-buffer")) {
        const std::string& text = parsed.values["max-buffer"];
        long long kilobytes = -1;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), kilobytes, 10);
        if (error != std::errc() || end != text.data() + text.size() || kilobytes < 0 ||
            kilobytes > std::numeric_limits<long long>::max() / 1024) {
            return Refuse("--max-buffer needs a size in KB (a whole number from 0), not '" + Shown(text) + "'");
        }
        if (!options.failBelow) {
            return Refuse("--max-buffer judges a run only with --fail-below");
        }
        options.maxBufferKB = kilobytes;
    }
    for (std::size_t i = 0; i < kRunParameterTable.size(); ++i) {
        const ParameterSpec& spec = kRunParameterTable[i];
        const std::string name(spec.option);
        if (!given(name)) {
            continue;
        }
        int value = 1;
        if (spec.kind != ParameterKind::Flag) {
            const auto number = WholeNumber(parsed.values[name]);
            if (!number) {
                return Refuse("--" + name + " needs a whole number, not '" + Shown(parsed.values[name]) + "'");
            }
            value = *number;
        }
        options.parameters.*spec.field = value;
        options.setOnCommandLine[i] = true;
    }
    if (options.jsonFile == "-" && options.metricsFile == "-") {
        return Refuse("--json and --metrics cannot both go to standard output");
    }
    if (given("dir") && given("drive")) {
        return Refuse("--dir and --drive cannot be used together");
    }
    if (given("drive")) {
        std::string letter = parsed.values["drive"];
        letter.erase(std::remove(letter.begin(), letter.end(), ':'), letter.end());
        const bool asciiLetter = letter.size() == 1 && ((letter[0] >= 'A' && letter[0] <= 'Z') ||
                                                        (letter[0] >= 'a' && letter[0] <= 'z'));
        if (!asciiLetter) {
            return Refuse("--drive needs a drive letter such as C, not '" + Shown(parsed.values["drive"]) + "'");
        }
        options.driveLetter = AsciiUpper(letter[0]);
    } else {
        options.directory = AbsolutePath(given("dir") ? parsed.values["dir"] : std::string());
        if (options.directory.empty()) {
            return Refuse("the current folder is gone (deleted or moved away); name the folder to test with --dir");
        }
    }
    return CliParseResult {options, 0, {}};
}

std::optional<std::string> ValidateParameters(const CliOptions& options)
{
    const ParameterSpec* refused = FirstUnacceptedParameter(options.parameters);
    if (refused == nullptr) {
        return std::nullopt;
    }
    const auto place = static_cast<std::size_t>(refused - kRunParameterTable.data());
    const std::string preset = options.presetName.empty() ? std::string(kDefaultPresetName) : options.presetName;
    return "--" + std::string(refused->option) + " must be between " + std::to_string(refused->low) + " and " +
           std::to_string(refused->high) + ", not " + std::to_string(options.parameters.*refused->field) +
           (options.setOnCommandLine[place] ? std::string() : " (from the preset \"" + Shown(preset) + "\")");
}

std::optional<std::string> ValidateFailBelow(const CliOptions& options)
{
    if (options.failBelow && options.parameters.minRead <= 0 && options.parameters.minWrite <= 0) {
        return std::string("--fail-below needs a minimum rate to judge by: --min-read, --min-write or a preset "
                           "with one");
    }
    return std::nullopt;
}

}  // namespace kel
