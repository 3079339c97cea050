// keltally-cli: the engine without a display, for scripts, servers and benchmarks.

#include "app/cli/CliOptions.h"
#include "app/cli/CliPresets.h"
#include "app/cli/CliReport.h"
#include "app/cli/JsonReport.h"
#include "drives/DriveCheck.h"
#include "drives/DriveDiscovery.h"
#include "engine/DriveTester.h"
#include "platform/DriveTable.h"
#include "platform/StopSignals.h"
#include "platform/Terminal.h"
#include "settings/PresetTable.h"
#include "settings/ProfileFile.h"
#include "settings/SettingsLocation.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryFile>

#include <chrono>
#include <cstdio>
#include <thread>

namespace kel {
namespace {

// The letter a --dir folder gets in the runner's own drive table.
constexpr char kDirLetter = 'A';

int Refuse(const QString& text)
{
    std::fprintf(stderr, "keltally-cli: %s\n", qPrintable(text));
    return 2;
}

// Has keltally-views, beside this program, draw the two pictures from the record.
bool WriteImages(const QString& record, const QString& folder)
{
    const QString views = QCoreApplication::applicationDirPath() + "/keltally-views";
    if (QProcess::execute(views, {record, folder}) != 0) {
        std::fprintf(stderr, "keltally-cli: the pictures could not be written to %s\n", qPrintable(folder));
        return false;
    }
    return true;
}

int Run(CliOptions options)
{
    if (options.listPresets || !options.presetName.isEmpty()) {
        ProfileFile settings(SettingsFilePath());
        PresetTable presets;
        presets.LoadPresets(settings);
        if (options.listPresets) {
            std::fputs(qPrintable(FormatPresetList(presets, options.json)), stdout);
            return 0;
        }
        if (const auto refusal = ApplyPreset(presets, options)) {
            return Refuse(*refusal);
        }
    }
    if (const auto refusal = ValidateParameters(options)) {
        return Refuse(*refusal);
    }
    const RunParameters& parameters = options.parameters;
    if (parameters.fileSizeKB % parameters.bufSizeKB != 0) {
        std::fprintf(stderr, "Note: the file size is not a multiple of the buffer size; the last transfer of each "
                             "file is shorter.\n");
    }

    DriveTable drives;
    char letter = kDirLetter;
    if (options.driveLetter != 0) {
        FillDriveTable(drives);
        letter = options.driveLetter;
        if (drives.Find(letter) == nullptr) {
            return Refuse(QString("there is no drive %1: here").arg(QChar(letter)));
        }
    } else {
        drives.Register(kDirLetter, options.directory.toStdString());
    }

    CliReport report(stdout, StandardErrorIsTerminal(), !options.jsonFile.isEmpty() || !options.pngDir.isEmpty());
    if (CheckDrive(letter, drives, parameters.numFiles, parameters.fileSizeKB, parameters.simultaneous != 0, report) ==
        0) {
        return 2;
    }
    const std::string directory = drives.Find(letter)->rootPath;

    PlatformServices services = DefaultPlatformServices();
    services.messages = &report;
    services.drives = &drives;
    InstallStopSignals();
    int stopSignal = 0;
    RunOutcome outcome;
    {
        DriveTester tester(services);
        tester.SetRun(directory, parameters, nullptr, &report);
        tester.Start();
        while (tester.IsRunning() != 0) {
            stopSignal = PendingStopSignal();
            if (stopSignal != 0) {
                tester.Stop();
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        outcome = tester.Outcome();
    }

    const bool failed = outcome.result == RunResult::Failed;
    if (stopSignal != 0) {
        std::fprintf(stderr, "\nStopped; the test files have been deleted.\n");
    }
    report.PrintSummary();
    int exitCode = failed ? 1 : (stopSignal != 0 ? ExitCodeForSignal(stopSignal) : 0);
    // The pictures are drawn from the record, so --png needs one too.
    QTemporaryFile scratch(QDir::tempPath() + "/keltally-XXXXXX.json");
    const QString record = !options.jsonFile.isEmpty() ? options.jsonFile
                           : (!options.pngDir.isEmpty() && scratch.open() ? scratch.fileName() : QString());
    if (!options.pngDir.isEmpty() && record.isEmpty()) {
        std::fprintf(stderr, "keltally-cli: no temporary file for drawing the pictures: %s\n",
                     qPrintable(scratch.errorString()));
        exitCode = exitCode == 0 ? 1 : exitCode;
    } else if (!record.isEmpty()) {
        QString error;
        if (!WriteJsonReport(record, parameters, QString::fromStdString(directory), report.Passes(), outcome, error)) {
            std::fprintf(stderr, "keltally-cli: cannot write %s: %s\n", qPrintable(record), qPrintable(error));
            exitCode = exitCode == 0 ? 1 : exitCode;
        } else if (!options.pngDir.isEmpty() && !WriteImages(record, options.pngDir)) {
            exitCode = exitCode == 0 ? 1 : exitCode;
        }
    }
    return exitCode;
}

}  // namespace
}  // namespace kel

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("keltally-cli");
    const kel::CliParseResult parsed = kel::ParseCliOptions(QCoreApplication::arguments());
    if (!parsed.options) {
        std::fprintf(parsed.exitCode == 0 ? stdout : stderr, "%s\n", qPrintable(parsed.output));
        return parsed.exitCode;
    }
    return kel::Run(*parsed.options);
}
