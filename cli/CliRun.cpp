#include "cli/CliRun.h"

#include "cli/CliPresets.h"
#include "cli/CliReport.h"
#include "record/RecordJson.h"
#include "record/ReportTarget.h"
#include "record/RunMetrics.h"
#include "record/RunRecorder.h"
#include "drives/DriveCheck.h"
#include "drives/DriveDiscovery.h"
#include "engine/DriveTester.h"
#include "engine/TestFileName.h"
#include "platform/DriveTable.h"
#include "platform/StopSignals.h"
#include "platform/Terminal.h"
#include "settings/PresetTable.h"
#include "settings/ProfileFile.h"
#include "settings/SettingsLocation.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>

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

int Refuse(const QString& text)
{
    std::fprintf(stderr, "keltally-cli: %s\n", qPrintable(text));
    return kExitRefused;
}

QString ViewsProgram()
{
    return QCoreApplication::applicationDirPath() + "/keltally-views";
}

// Every report target is tried before the run, so that no run is wasted on
// a report that cannot be written.
std::optional<QString> CheckTargets(const CliOptions& options)
{
    for (const auto& [option, target] : {std::pair {"--json", options.jsonFile}, {"--metrics", options.metricsFile}}) {
        if (!target.isEmpty()) {
            if (const auto refusal = CheckReportTarget(target)) {
                return QString(option) + ": " + *refusal;
            }
        }
    }
    if (options.pngDir.isEmpty()) {
        return std::nullopt;
    }
    if (const auto refusal = PrepareReportFolder(options.pngDir)) {
        return "--png: " + *refusal;
    }
    for (const char* name : {"/graph.png", "/text.png"}) {
        if (const auto refusal = CheckReportTarget(options.pngDir + name)) {
            return "--png: " + *refusal;
        }
    }
    if (!QFileInfo(ViewsProgram()).isExecutable()) {
        return "--png: " + ViewsProgram() + ", which draws the pictures, is missing";
    }
    return std::nullopt;
}

// For a second stop signal, which ends the process before the run has
// deleted its files: the names they may remain under.
std::string EndAtOnceText(const std::string& directory, const RunParameters& parameters)
{
    std::string text = "\nkeltally-cli: ended at once; these test files may remain:\n";
    TestFileName name(directory);
    for (int i = 0; i < parameters.numFiles; ++i) {
        MakeTestFileName(name, i);
        text += "  " + name.Text() + "\n";
    }
    if (parameters.simultaneous != 0) {
        MakeTestFileName(name, kExtraFileIndex);
        text += "  " + name.Text() + "\n";
    }
    return text;
}

std::string EndOfRunText(const RunOutcome& outcome)
{
    std::string undeleted;
    for (const std::string& name : outcome.undeletedFiles) {
        undeleted += "  " + name + "\n";
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

// keltally-views, beside this program, draws the two pictures from the
// record, so that the runner itself never loads the drawing libraries.
bool DrawPictures(const QByteArray& record, const QString& folder, const GraphScale& scale)
{
    QProcess views;
    views.setProcessChannelMode(QProcess::ForwardedChannels);
    views.start(ViewsProgram(), {"--scale", QString::fromStdString(GraphScaleText(scale)), "-", folder});
    if (!views.waitForStarted(-1)) {
        std::fprintf(stderr, "keltally-cli: cannot start %s\n", qPrintable(ViewsProgram()));
        return false;
    }
    views.write(record);
    views.closeWriteChannel();
    return views.waitForFinished(-1) && views.exitStatus() == QProcess::NormalExit && views.exitCode() == 0;
}

// Writes the reports the options ask for; 0, or the system's code of a
// failed write (EPIPE when any met a closed pipe, EIO for the pictures).
int WriteReports(const CliOptions& options, const RunRecord& record)
{
    int error = 0;
    const auto write = [&](const QString& target, const QByteArray& bytes, const char* what) {
        if (const auto failure = WriteReport(target, bytes)) {
            std::fprintf(stderr, "keltally-cli: cannot write the %s: %s\n", what, qPrintable(failure->text));
            error = error == EPIPE ? EPIPE : failure->systemError;
        }
    };
    const QByteArray json = options.jsonFile.isEmpty() && options.pngDir.isEmpty() ? QByteArray() : RecordJson(record);
    if (!options.jsonFile.isEmpty()) {
        write(options.jsonFile, json, "record");
    }
    if (!options.metricsFile.isEmpty()) {
        write(options.metricsFile, RunMetrics(record), "metrics");
    }
    if (!options.pngDir.isEmpty() && !DrawPictures(json, options.pngDir, options.pngScale)) {
        std::fprintf(stderr, "keltally-cli: the pictures could not be written to %s\n", qPrintable(options.pngDir));
        error = error == EPIPE ? EPIPE : EIO;
    }
    return error;
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
            return Refuse(QString("there is no drive %1: here (see --list-drives)").arg(QChar(letter)));
        }
    } else {
        folderShown = options.directory.toStdString();
        const QString resolved = QFileInfo(options.directory).canonicalFilePath();
        drives.Register(FolderDriveEntry(SystemDriveSources(), kDirLetter, folderShown, resolved.toStdString()));
    }

    // A report on standard output leaves the printed lines to standard error.
    const bool reportOnStandardOutput = options.jsonFile == "-" || options.metricsFile == "-";
    CliReport report(reportOnStandardOutput ? stderr : stdout, StandardErrorIsTerminal());
    if (CheckDrive(letter, drives, parameters.numFiles, parameters.fileSizeKB, parameters.simultaneous != 0, report,
                   folderShown) == 0) {
        return kExitRefused;
    }
    if (const auto refusal = CheckTargets(options)) {
        return Refuse(*refusal);
    }
    const DriveEntry drive = *drives.Find(letter);

    RunRecorder recorder(&report, !options.jsonFile.isEmpty() || !options.pngDir.isEmpty());
    recorder.Begin("keltally-cli", parameters, QString::fromStdString(drive.rootPath), FileSystemOf(drive));
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
