#pragma once
// The runner's options as one table, for the parser and the help alike, and
// the help laid out as the runner has always shown it: the usage line, the
// description, then each option's names and its text wrapped beside them to
// 79 columns.

#include <string>
#include <vector>

namespace kel {

struct OptionEntry {
    char shortName = 0;     // 0: none
    std::string longName;   // without "--"
    std::string valueName;  // empty: the option takes no value
    std::string help;
};

// The options in the order the help lists them. listing: --list-presets or
// --list-drives is given, so --json prints the list as JSON instead of
// taking a file.
std::vector<OptionEntry> RunnerOptions(bool listing);

// The full help; program is the name the runner was called by.
std::string RunnerHelpText(const std::string& program, const std::vector<OptionEntry>& options);

}  // namespace kel
