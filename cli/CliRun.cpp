#include "cli/CliRun.h"

#include "cli/CliPresets.h"
#include "cli/CliReport.h"
#include "cli/CliTargets.h"
#include "drives/DriveCheck.h"
#include "drives/DriveDiscovery.h"
#include "engine/RunSession.h"
#include "engine/TestFileName.h"
#include "platform/DriveTable.h"
#include "platform/ReportFiles.h"
#include "platform/StopSignals.h"
#include "platform/SystemError.h"
#include "platform/TextRules.h"
#include "settings/PresetTable.h"
#include "settings/ProfileFile.h"
#include "settings/SettingsLocation.h"

#include <atomic>
#include <cstdio>

namespace kel {

namespace {

// The letter a --dir folder gets in the runner's own drive table.
constexpr char kDirLetter = 'A';

int Refuse(const std::string& text)
{
    std::fprintf(stderr, "keltally-cli: %s\n", text.c_str());
    return kExitRefused;
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

int ExitCode(const CliOptions& options, const RunRecord& record, int stopSignal, int outputError)
{
    if (record.outcome.result == RunResult::Failed) {
        // Another run held the folder: refused like the checks before a run.
        return record.outcome.failureKind == FailureKind::FolderInUse ? kExitRefused : kExitFailed;
    }
    if (outputError != 0) {
        return ExitCodeForOutputFailure(outputError);
    }
    if (stopSignal != 0) {
        return ExitCodeForSignal(stopSignal);
    }
    if (!options.failBelow) {
        return kExitComplete;
    }
    if (options.maxBufferKB) {
        const double most = static_cast<double>(*options.maxBufferKB) * 1024.0;
        for (const KindSummary* kind : {&record.play, &record.record}) {
            const StreamFigure& stream = kind->figures.stream;
            if (stream.judged && (stream.fallsBehind || stream.bufferBytes > most)) {
                return kExitBelowMinimum;
            }
        }
        return kExitComplete;
    }
    const bool below = record.play.samplesBelowMinimum + record.record.samplesBelowMinimum > 0;
    return below ? kExitBelowMinimum : kExitComplete;
}

}  // namespace

int RunDriveTest(CliOptions options)
{
    {
        PresetTable presets;
        LoadRunnerPresets(presets);
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
    PlatformServices services = DefaultPlatformServices();
    services.messages = &report;
    services.drives = &drives;
    RunSession session(services, &report, nullptr, !options.jsonFile.empty() || !options.pngDir.empty());
    InstallStopSignals();
    std::atomic<int> stopSignal {0};
    const StopSignalWatch watch([&session, &stopSignal](int signal) {
        stopSignal = signal;
        session.RequestStop();
    });
    report.SetOnOutputFailure([&session] { session.RequestStop(); });

    const auto checkTargets = [&options, &parameters](const DriveEntry& drive) {
        if (const auto refusal = CheckReportTargets(options, drive.rootPath)) {
            Refuse(*refusal);
            return false;
        }
        EndAtSecondStopSignal(FilesMayRemainText("keltally-cli", drive.rootPath, parameters));
        return true;
    };
    if (!session.Start({"keltally-cli", letter, parameters, RunOptions {options.verify}, folderShown}, checkTargets)) {
        return kExitRefused;
    }
    // A signal that came before the watch did not stop the run yet.
    if (const int early = PendingStopSignal(); early != 0) {
        stopSignal = early;
        session.RequestStop();
    }
    session.WaitForEnd();
    // The files are gone: a second signal now only cuts the reports short.
    EndAtSecondStopSignal({});

    const RunRecord record = session.Record();
    const int stoppingOutputError = stopSignal.load() == 0 ? report.OutputError() : 0;
    if (stoppingOutputError != 0 && record.outcome.result == RunResult::Stopped) {
        report.PrintError(std::string("\nkeltally-cli: the output failed (") + SystemErrorText(stoppingOutputError) +
                          "); the run was stopped.\n");
    }
    report.PrintError(EndOfRunText(record.outcome));
    report.PrintSummary(record);
    const int exitCode = ExitCode(options, record, stopSignal.load(), report.OutputError());
    const int reportError = WriteReports(options, record);
    if (reportError != 0 && (exitCode == kExitComplete || exitCode == kExitBelowMinimum)) {
        return ExitCodeForOutputFailure(reportError);
    }
    return exitCode;
}

int ExitCodeForOutputFailure(int systemError)
{
    return systemError == kErrorBrokenPipe ? ExitCodeForSignal(kBrokenPipeSignal) : kExitFailed;
}

}  // namespace kel
