// keltally-cli: the engine without a display, for scripts, servers and benchmarks.

#include "app/cli/CliOptions.h"
#include "app/cli/CliPresets.h"
#include "app/cli/CliReport.h"
#include "app/cli/JsonReport.h"
#include "app/cli/PassFanOut.h"
#include "drives/DriveCheck.h"
#include "drives/DriveDiscovery.h"
#include "engine/DriveTester.h"
#include "platform/DriveTable.h"
#include "platform/StopSignals.h"
#include "platform/Terminal.h"
#include "settings/PresetTable.h"
#include "settings/ProfileFile.h"
#include "settings/SettingsLocation.h"
#include "view/ResultImages.h"

#include <QDir>
#include <QGuiApplication>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>
#include <string_view>
#include <thread>

namespace kel {
namespace {

// The letter a --dir folder gets in the runner's own drive table.
constexpr char kDirLetter = 'A';
// The results view's client area in the dialog.
constexpr QSize kViewSize {510, 299};

class FinishFlag : public DialogWindow {
public:
    void PostWindowMessage(std::uint32_t message, std::intptr_t, std::intptr_t) override
    {
        if (message == WM_TEST_FINISHED) {
            m_finished = true;
        }
    }

private:
    std::atomic<bool> m_finished {false};
};

int Refuse(const QString& text)
{
    std::fprintf(stderr, "keltally-cli: %s\n", qPrintable(text));
    return 2;
}

bool WriteImages(const ResultImages& images, const QString& folder)
{
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "keltally-cli: cannot create %s\n", qPrintable(folder));
        return false;
    }
    const bool written = images.GraphImage().save(folder + "/graph.png") && images.TextImage().save(folder + "/text.png");
    if (!written) {
        std::fprintf(stderr, "keltally-cli: cannot write the pictures to %s\n", qPrintable(folder));
    }
    return written;
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
    if (options.fileSizeKB % options.bufSizeKB != 0) {
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

    CliReport report(stdout, StandardErrorIsTerminal(), !options.jsonFile.isEmpty());
    if (CheckDrive(letter, drives, options.numFiles, options.fileSizeKB, options.simultaneous, report) == 0) {
        return 2;
    }
    const std::string directory = drives.Find(letter)->rootPath;

    PassFanOut sinks;
    sinks.Add(&report);
    std::optional<ResultImages> images;
    if (!options.pngDir.isEmpty()) {
        images.emplace(kViewSize);
        sinks.Add(&*images);
    }

    PlatformServices services = DefaultPlatformServices();
    services.messages = &report;
    services.drives = &drives;
    FinishFlag finish;
    InstallStopSignals();
    int stopSignal = 0;
    {
        DriveTester tester(services);
        tester.SetParameters(letter, options.numFiles, options.fileSizeKB, options.bufSizeKB, options.readReps,
                             options.writeReps, options.sampsSec, options.minRead, options.minWrite,
                             options.simultaneous ? 1 : 0, &finish, &sinks);
        tester.Start();
        while (tester.IsRunning() != 0) {
            stopSignal = PendingStopSignal();
            if (stopSignal != 0) {
                tester.Stop();
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }

    const bool failed = report.Failed() && stopSignal == 0;
    if (stopSignal != 0) {
        std::fprintf(stderr, "\nStopped; the test files have been deleted.\n");
    }
    report.PrintSummary();
    int exitCode = failed ? 1 : (stopSignal != 0 ? ExitCodeForSignal(stopSignal) : 0);
    if (!options.jsonFile.isEmpty()) {
        const QString result = failed ? "failed" : (stopSignal != 0 ? "stopped" : "complete");
        QString error;
        if (!WriteJsonReport(options.jsonFile, options, QString::fromStdString(directory), report.Passes(), result,
                             QString::fromStdString(report.FirstMessage()), error)) {
            std::fprintf(stderr, "keltally-cli: cannot write %s: %s\n", qPrintable(options.jsonFile),
                         qPrintable(error));
            exitCode = exitCode == 0 ? 1 : exitCode;
        }
    }
    if (images && !WriteImages(*images, options.pngDir)) {
        exitCode = exitCode == 0 ? 1 : exitCode;
    }
    return exitCode;
}

}  // namespace
}  // namespace kel

int main(int argc, char* argv[])
{
    // Drawing the pictures needs fonts, hence a GUI application, but never a
    // display; without pictures the lighter core application does.
    std::unique_ptr<QCoreApplication> app;
    if (std::any_of(argv + 1, argv + argc, [](const char* arg) { return std::string_view(arg).starts_with("--png"); })) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName("keltally-cli");
    const kel::CliParseResult parsed = kel::ParseCliOptions(QCoreApplication::arguments());
    if (!parsed.options) {
        std::fprintf(parsed.exitCode == 0 ? stdout : stderr, "%s\n", qPrintable(parsed.output));
        return parsed.exitCode;
    }
    return kel::Run(*parsed.options);
}
