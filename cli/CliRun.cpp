#include "cli/CliRun.h"

#include "cli/CliPresets.h"
#include "cli/CliReport.h"
#include "cli/CliTargets.h"
#include "record/RunRecorder.h"
#include "drives/DriveCheck.h"
#include "drives/DriveDiscovery.h"
#include "engine/DriveTester.h"
#include "engine/TestFileName.h"
#include "platform/DriveTable.h"
#include "platform/ReportFiles.h"
#include "platform/StopSignals.h"
#include "platform/Terminal.h"
#include "platform/TextRules.h"
#include "settings/PresetTable.h"
#include "settings/ProfileFile.h"
#include "settings/SettingsLocation.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <thread>

namespace kel {

namespace {

// The letter a --dir folder gets in the runner's own drive table.
constexpr char kDirLetter = 'A';

int Refuse(const std::string& text)
{
    std::fprintf(stderr, "keltally-cli: %s\n", text.c_str());
    return kExitRefused;
}

// For a second stop signal, which ends the process before the run has
// deleted its files: the names they may remain under.
std::string EndAtOnceText(const std::string& directory, const RunParameters& parameters)
{
    std::string text = "\nkeltally-cli: ended at once; these test files may remain:\n";
    TestFileName name(directory);
    for (int i = 0; i < parameters.numFiles; ++i) {
        MakeTestFileName(name, i);
        text += "  " + PrintableText(name.Text()) + "\n";
    }
    if (parameters.simultaneous != 0) {
        MakeTestFileName(name, kExtraFileIndex);
        text += "  " + PrintableText(name.Text()) + "\n";
    }
    return text;
}

std::string EndOfRunText(const RunOutcome& outcome)
{
    std::string undeleted;
    for (const std::string& name : outcome.undeletedFiles) {
        undeleted += "  " + PrintableText(name) + "\n";
    }
    if (outcome.result == RunResult::Stopped) {
        return undeleted.empty() ? "\nStopped; the test files have been deleted.\n"
                                 : "\nStopped; these test files could not be deleted:\n" + undeleted;
    }
    return undeleted.empty() ? std::string() : "These test files could not be deleted:\n" + undeleted;
}

// Runs the test until it ends, a stop signal comes or the output fails; the
// signal that stopped it, or 0.
int RunUntilEnd(DriveTester& tester, const CliReport& report)
{
    tester.Start();
    while (tester.IsRunning() != 0) {
        const int signal = PendingStopSignal();
        if (signal != 0 || report.OutputError() != 0) {
            tester.Stop();
            return signal;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return 0;
}

int ExitCode(const CliOptions& options, const RunRecord& record, int stopSignal, int outputError)
{
    if (record.outcome.result == RunResult::Failed) {
        return kExitFailed;
    }
    if (outputError != 0) {
        return ExitCodeForOutputFailure(outputError);
    }
    if (stopSignal != 0) {
        return ExitCodeForSignal(stopSignal);
    }
    const bool below = record.play.samplesBelowMinimum + record.record.samplesBelowMinimum > 0;
    return options.failBelow && below ? kExitBelowMinimum : kExitComplete;
}

}  // namespace

int RunDriveTest(CliOptions options)
{
    {
        ProfileFile settings(SettingsFilePath());
        PresetTable presets;
        presets.LoadPresets(settings);
        if (const auto refusal = ApplyPreset(presets, options)) {
            return Refuse(*refusal);
        }
    }
    if (const auto refusal = ValidateParameters(options)) {
        return Refuse(*refusal);
    }
    if (const auto refusal = ValidateFailBelow(options)) {
        return Refuse(*refusal);
    }
    const RunParameters& parameters = options.parameters;
    if (parameters.fileSizeKB % parameters.bufSizeKB != 0) {
        std::fprintf(stderr, "Note: the file size is not a multiple of the buffer size; the last transfer of each "
                             "file is shorter.\n");
    }

    DriveTable drives;
    char letter = kDirLetter;
    std::string folderShown;  // the folder the user named, for the drive check's messages
    if (options.driveLetter != 0) {
        FillDriveTable(drives);
        letter = options.driveLetter;
        if (drives.Find(letter) == nullptr) {
            return Refuse(std::string("there is no drive ") + letter + ": here (see --list-drives)");
        }
    } else {
        folderShown = PrintableText(options.directory);
        drives.Register(
            FolderDriveEntry(SystemDriveSources(), kDirLetter, options.directory, ResolvedPath(options.directory)));
    }

    // A report on standard output leaves the printed lines to standard error.
    const bool reportOnStandardOutput = options.jsonFile == "-" || options.metricsFile == "-";
    CliReport report(reportOnStandardOutput ? stderr : stdout, StandardErrorIsTerminal());
    if (CheckDrive(letter, drives, parameters.numFiles, parameters.fileSizeKB, parameters.simultaneous != 0, report,
                   folderShown) == 0) {
        return kExitRefused;
    }
    const DriveEntry drive = *drives.Find(letter);
    if (const auto refusal = CheckReportTargets(options, drive.rootPath)) {
        return Refuse(*refusal);
    }

    RunRecorder recorder(&report, !options.jsonFile.empty() || !options.pngDir.empty());
    recorder.Begin("keltally-cli", parameters, drive.rootPath, FileSystemOf(drive));
    PlatformServices services = DefaultPlatformServices();
    services.messages = &report;
    services.drives = &drives;
    InstallStopSignals();
    EndAtSecondStopSignal(EndAtOnceText(drive.rootPath, parameters));
    int stopSignal = 0;
    {
        DriveTester tester(services);
        tester.SetRun(drive.rootPath, parameters, nullptr, &recorder);
        stopSignal = RunUntilEnd(tester, report);
        recorder.Finish(tester.Outcome());
    }
    // The files are gone: a second signal now only cuts the reports short.
    EndAtSecondStopSignal({});

    const RunRecord record = recorder.Record();
    const int stoppingOutputError = stopSignal == 0 ? report.OutputError() : 0;
    if (stoppingOutputError != 0 && record.outcome.result == RunResult::Stopped) {
        report.PrintError(std::string("\nkeltally-cli: the output failed (") + std::strerror(stoppingOutputError) +
                          "); the run was stopped.\n");
    }
    report.PrintError(EndOfRunText(record.outcome));
    report.PrintSummary(record);
    const int exitCode = ExitCode(options, record, stopSignal, report.OutputError());
    const int reportError = WriteReports(options, record);
    if (reportError != 0 && (exitCode == kExitComplete || exitCode == kExitBelowMinimum)) {
        return ExitCodeForOutputFailure(reportError);
    }
    return exitCode;
}

int ExitCodeForOutputFailure(int systemError)
{
    return systemError == EPIPE ? ExitCodeForSignal(SIGPIPE) : kExitFailed;
}

}  // namespace kel
