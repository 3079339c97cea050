#include "cli/CliHelp.h"

#include "engine/RunParameters.h"

#include <algorithm>

namespace kel {

namespace {

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

// The option's help line, with its range and default from the table.
std::string ParameterHelp(const ParameterSpec& spec)
{
    const std::string text(spec.help);
    switch (spec.kind) {
    case ParameterKind::Count:
        return text + ", " + std::to_string(spec.low) + " to " + std::to_string(spec.high) + " (default " +
               std::to_string(spec.defaultValue) + ").";
    case ParameterKind::Threshold:
        return text + " (default " + std::to_string(spec.defaultValue) + ": none).";
    case ParameterKind::Flag:
        break;
    }
    return text + ".";
}

std::string ShownNames(const OptionEntry& option)
{
    std::string names = option.shortName != 0 ? std::string("-") + option.shortName + ", " : std::string();
    names += "--" + option.longName;
    return option.valueName.empty() ? names : names + " <" + option.valueName + ">";
}

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// One option's lines: its names padded to nameWidth, then its text wrapped
// to what is left of 79 columns. A line breaks at the last space before the
// limit (or at the limit when there is none) and never starts with a space;
// after a break the first character of the next line is not counted.
std::string WrappedOption(const std::string& names, std::size_t nameWidth, const std::string& text)
{
    const std::string indentation = "  ";
    std::size_t nameIndex = 0;
    const auto nextNames = [&]() {
        std::string section = names.substr(std::min(nameIndex, names.size()), nameWidth);
        nameIndex += section.size();
        section.resize(std::max(section.size(), nameWidth), ' ');
        return section;
    };
    const long max = 79 - static_cast<long>(indentation.size() + nameWidth + 1);
    const long length = static_cast<long>(text.size());
    std::string wrapped;
    long lineStart = 0;
    long lastBreakable = -1;
    long x = 0;
    for (long i = 0; i < length; ++i) {
        ++x;
        const char c = text[static_cast<std::size_t>(i)];
        if (IsSpace(c)) {
            lastBreakable = i;
        }
        long breakAt = -1;
        long nextLineStart = -1;
        if (x > max && lastBreakable != -1) {
            breakAt = lastBreakable;
            nextLineStart = lastBreakable + 1;
        } else if ((x > max - 1 && lastBreakable == -1) || i == length - 1) {
            breakAt = i + 1;
            nextLineStart = breakAt;
        } else if (c == '\n') {
            breakAt = i;
            nextLineStart = i + 1;
        }
        if (breakAt != -1) {
            wrapped += indentation + nextNames() + " " +
                       text.substr(static_cast<std::size_t>(lineStart), static_cast<std::size_t>(breakAt - lineStart)) +
                       "\n";
            x = 0;
            lastBreakable = -1;
            lineStart = nextLineStart;
            if (lineStart < length && IsSpace(text[static_cast<std::size_t>(lineStart)])) {
                ++lineStart;
            }
            i = lineStart;
        }
    }
    while (nameIndex < names.size()) {
        wrapped += indentation + nextNames() + "\n";
    }
    return wrapped;
}

}  // namespace

std::vector<OptionEntry> RunnerOptions(bool listing)
{
    std::vector<OptionEntry> options = {
        {'h', "help", "", "Show this help."},
        {'v', "version", "", "Show the version."},
        {0, "dir", "PATH", "Folder to put the test files in (default: the current folder)."},
        {0, "drive", "LETTER", "Drive letter as --list-drives shows it, instead of --dir."},
        {0, "preset", "NAME", "Start from the named preset of the settings file."},
        {0, "list-presets", "", "Print the presets of the settings file and exit."},
        {0, "list-drives", "", "Print the drives as the dialog lists them and exit."},
    };
    for (const ParameterSpec& spec : kRunParameterTable) {
        options.push_back({0, std::string(spec.option), spec.kind == ParameterKind::Flag ? "" : "N",
                           ParameterHelp(spec)});
    }
    options.push_back({0, "fail-below", "",
                       "Exit with 3 when a sample lies below its kind's minimum rate (--min-read, --min-write or "
                       "the preset's)."});
    options.push_back({0, "max-buffer", "N",
                       "With --fail-below: judge each kind with a minimum rate by the buffer a stream at that rate "
                       "needs instead of by its samples; exit with 3 when it needs more than N KB or falls behind "
                       "for good."});
    options.push_back({0, "verify", "",
                       "Stamp every 4 KiB written with what it is and check every byte read back; data that differs "
                       "ends the run as failed (exit 1)."});
    options.push_back({0, "png", "DIR",
                       "Write the graph and text views of the run to DIR/graph.png and DIR/text.png; DIR is made "
                       "when missing."});
    options.push_back({0, "scale", "auto|N",
                       "The graph's scale in the --png pictures: default (as without it) shows 0 to 20 MB/s while "
                       "every sample fits, else the fitted scale, its top at most 25 % above the fastest sample; "
                       "auto always fits it; N (1 to 1000000) fixes the top at N MB/s (--scale 20: always 0 to 20)."});
    options.push_back({0, "metrics", "FILE",
                       "Write the run's figures to FILE in the Prometheus text format, for node_exporter's textfile "
                       "collector; - for standard output, the pass lines then go to standard error."});
    if (listing) {
        options.push_back({0, "json", "", "Print the list as JSON (with --list-presets or --list-drives)."});
    } else {
        options.push_back({0, "json", "FILE",
                           "Write the run's record (every pass with its samples, the summary, the file system and "
                           "how the run ended) to FILE as JSON; - for standard output, the pass lines then go to "
                           "standard error. With --list-presets or --list-drives, print the list as JSON."});
    }
    return options;
}

std::string RunnerHelpText(const std::string& program, const std::vector<OptionEntry>& options)
{
    std::string text = "Usage: " + program + " [options]\n" + kDescription + "\n\nOptions:\n";
    std::size_t longest = 0;
    for (const OptionEntry& option : options) {
        longest = std::max(longest, ShownNames(option).size());
    }
    const std::size_t nameWidth = std::min<std::size_t>(50, longest + 1);
    for (const OptionEntry& option : options) {
        text += WrappedOption(ShownNames(option), nameWidth, option.help);
    }
    return text;
}

}  // namespace kel
