// keltally-cli: the engine without a display, for scripts, servers and benchmarks.

#include "cli/CliDrives.h"
#include "cli/CliOptions.h"
#include "cli/CliPresets.h"
#include "cli/CliRun.h"
#include "record/ReportTarget.h"
#include "drives/DriveDiscovery.h"
#include "platform/DriveTable.h"
#include "platform/ProgramArguments.h"
#include "platform/StopSignals.h"
#include "settings/PresetTable.h"
#include "settings/ProfileFile.h"
#include "settings/SettingsLocation.h"

#include <cstdio>
#include <string>

namespace kel {
namespace {

// A listing on standard output; 0, or the exit code of a failed write.
int PrintList(const std::string& text)
{
    if (const auto failure = WriteReport("-", text)) {
        return ExitCodeForOutputFailure(failure->systemError);
    }
    return kExitComplete;
}

int ListPresets(bool json)
{
    PresetTable presets;
    LoadRunnerPresets(presets);
    return PrintList(FormatPresetList(presets, json));
}

int ListDrives(bool json)
{
    DriveTable drives;
    FillDriveTable(drives);
    return PrintList(FormatDriveList(drives, json));
}

}  // namespace
}  // namespace kel

// Windows hands the arguments over as UTF-16; elsewhere they are bytes.
#ifdef _WIN32
int wmain(int argc, wchar_t* argv[])
#else
int main(int argc, char* argv[])
#endif
{
    kel::PrepareStandardStreams();
    // A closed pipe shows as a failed write, so a run can still delete its files.
    kel::IgnoreBrokenPipes();
    const kel::CliParseResult parsed = kel::ParseCliOptions(kel::ProgramArguments(argc, argv));
    if (!parsed.options) {
        std::fprintf(parsed.exitCode == 0 ? stdout : stderr, "%s\n", parsed.output.c_str());
        return parsed.exitCode;
    }
    if (parsed.options->listDrives) {
        return kel::ListDrives(parsed.options->json);
    }
    if (parsed.options->listPresets) {
        return kel::ListPresets(parsed.options->json);
    }
    return kel::RunDriveTest(*parsed.options);
}
