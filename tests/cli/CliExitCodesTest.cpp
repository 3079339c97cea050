// Options and exit codes of the programs as a user meets them: versions, a
// dialog without a display, judging a run by its minimum rates, refusals
// before the run, and the settings file's "(Default)" preset.

#include "Version.h"
#include "tests/cli/CliProcess.h"

#include <QDir>
#include <QJsonObject>
#include <QRegularExpression>

#include <fstream>
#include <gtest/gtest.h>

namespace kel {
namespace {

using namespace test;

// No display of any kind, and no platform chosen for Qt.
ProgramRun WithoutDisplay(const QStringList& args)
{
    ProgramRun run;
    run.args = args;
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "WAYLAND_SOCKET", "QT_QPA_PLATFORM"}) {
        run.environment.insert(name, QString());
    }
    return run;
}

TEST(ProgramStart, EveryProgramTellsItsVersionAndTheDialogItsHelpWithoutADisplay)
{
    for (const auto& [program, name] : {std::pair {kCli, "keltally-cli"}, {kViews, "keltally-views"},
                                        {kDialog, "keltally"}}) {
        const test::ProgramResult version = RunProgram(program, WithoutDisplay({"--version"}));
        EXPECT_EQ(version.exitCode, 0) << name;
        EXPECT_EQ(version.out, QString("%1 %2\n").arg(name, kVersion));
    }
    const test::ProgramResult help = RunProgram(kDialog, WithoutDisplay({"--help"}));
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.startsWith("Usage: keltally")) << help.out.toStdString();
}

TEST(ProgramStart, TheDialogWithoutADisplaySaysSoInOneLineAndExitsWithOne)
{
    ProgramRun xcbOnly = WithoutDisplay({});
    xcbOnly.environment.insert("QT_QPA_PLATFORM", "xcb");
    ProgramRun platformArgument = WithoutDisplay({"-platform", "wayland"});
    for (const ProgramRun& run : {WithoutDisplay({}), xcbOnly, platformArgument}) {
        const test::ProgramResult result = RunProgram(kDialog, run);
        EXPECT_EQ(result.exitCode, 1) << run.args.join(' ').toStdString();
        EXPECT_EQ(result.err.count('\n'), 1) << result.err.toStdString();
        EXPECT_TRUE(result.err.contains("no display") && result.err.contains("keltally-cli"))
            << result.err.toStdString();
    }
}

TEST(FailBelow, ASampleBelowItsKindsMinimumExitsWithThreeOnlyWhenAsked)
{
    TempDir dir;
    // No drive writes 2 TB/s, and every drive here reads more than 1 KB/s.
    struct Case {
        QStringList extra;
        int exitCode;
        const char* printed;  // a pattern
    };
    const Case cases[] = {
        {{"--min-write", "2000000000", "--fail-below"}, 3, "\n  Below 2000000\\.000 MB/s: (\\d+) of \\1 samples\n"},
        {{"--min-write", "2000000000"}, 0, "\n  Below 2000000\\.000 MB/s: (\\d+) of \\1 samples\n"},
        {{"--min-read", "1", "--fail-below"}, 0, "\n  Below  0\\.001 MB/s: 0 of \\d+ samples\n"},
        {{"--fail-below"}, 2, "^$"},
        // By the buffer instead of the samples: no buffer holds a stream the drive falls behind for good.
        {{"--min-write", "2000000000", "--fail-below", "--max-buffer", "1000000000"}, 3,
         "\n  Stream: falls behind 2000000\\.000 MB/s for good after [0-9.]+ [KMG]B \\(pass 1\\)\n"},
        {{"--min-read", "1", "--fail-below", "--max-buffer", "64"}, 0,
         "\n  Stream: sustains 0\\.001 MB/s with a [0-9]+ KB buffer \\(pass [12]\\)\n"},
    };
    for (const Case& c : cases) {
        const test::ProgramResult result = RunCli(ShortRun(dir) + c.extra);
        EXPECT_EQ(result.exitCode, c.exitCode) << c.extra.join(' ').toStdString() << result.err.toStdString();
        EXPECT_TRUE(result.out.contains(QRegularExpression(c.printed))) << result.out.toStdString();
    }
    EXPECT_TRUE(dir.Entries().empty());
}

TEST(Refusals, AReportTargetThatCannotBeWrittenEndsTheRunnerBeforeTheRun)
{
    TempDir dir;
    TempDir out;
    {
        std::ofstream file(out.Path() + "/plain");
    }
    const QStringList targets[] = {
        {"--json", PathIn(out, "no/such/folder/run.json")},
        {"--metrics", QString::fromStdString(out.Path())},
        {"--png", PathIn(out, "plain")},
        {"--png", PathIn(out, "plain/sub")},
        {"--json", "/dev/no-such-device"},
    };
    for (const QStringList& target : targets) {
        // A run that would take minutes if it started.
        const test::ProgramResult result =
            RunCli(QStringList {"--dir", QString::fromStdString(dir.Path()), "--reads", "1000", "--writes", "1000"} +
                   target);
        EXPECT_EQ(result.exitCode, 2) << target.join(' ').toStdString();
        EXPECT_TRUE(result.out.isEmpty()) << result.out.toStdString();
        EXPECT_TRUE(result.err.startsWith("keltally-cli: " + target[0] + ": ")) << result.err.toStdString();
    }
    EXPECT_TRUE(dir.Entries().empty());
}

TEST(DefaultPreset, ARunWithoutPresetTakesTheSettingsFilesDefault)
{
    TempDir config;
    {
        std::ofstream ini(config.Path() + "/KelTally.ini");
        ini << "[Application]\nPresets=2\n[Preset1]\nName=Other\nNumFiles=5\n[Preset2]\nName=(Default)\n"
               "NumFiles=3\nFileSize=128\nBufSize=32\nReadReps=1\nWriteReps=2\nSampsSec=20\nKelMinRead=7\n";
    }
    TempDir dir;
    TempDir out;
    const QString json = PathIn(out, "run.json");
    const test::ProgramResult run =
        RunCli({"--dir", QString::fromStdString(dir.Path()), "--writes", "1", "--json", json},
               config.Path());
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonObject parameters = test::ReadJsonFile(json)["parameters"].toObject();
    EXPECT_EQ(parameters["files"].toInt(), 3);
    EXPECT_EQ(parameters["fileSizeKB"].toInt(), 128);
    EXPECT_EQ(parameters["bufSizeKB"].toInt(), 32);
    EXPECT_EQ(parameters["readReps"].toInt(), 1);
    EXPECT_EQ(parameters["writeReps"].toInt(), 1) << "the command line wins";
    EXPECT_EQ(parameters["sampsSec"].toInt(), 20);
    EXPECT_EQ(parameters["minRead"].toInt(), 7);
}

}  // namespace
}  // namespace kel
