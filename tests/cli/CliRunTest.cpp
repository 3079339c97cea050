// The runner as a program: a whole run with its JSON record, refusals, and
// stop signals that delete the files before it exits.

#include "tests/cli/CliProcess.h"
#include "tests/support/TempDir.h"

#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <csignal>
#include <fstream>
#include <gtest/gtest.h>

namespace kel {
namespace {

using Outcome = test::ProgramResult;
using test::RunCli;

TEST(CliRun, ACompleteRunPrintsEveryPassAndRecordsItInJson)
{
    test::TempDir dir;
    test::TempDir out;
    const QString json = QString::fromStdString(out.Path()) + "/run.json";
    const Outcome outcome = RunCli({"--dir", QString::fromStdString(dir.Path()), "--files", "2", "--file-size", "512",
                                    "--buffer", "64", "--reads", "2", "--writes", "3", "--resolution", "200", "--json",
                                    json});
    ASSERT_EQ(outcome.exitCode, 0) << outcome.err.toStdString();
    const auto passLines = [&outcome](const QString& kind) {
        int count = 0;
        for (const QString& line : outcome.out.split('\n')) {
            count += line.startsWith(kind + " ") && line.contains("samples") ? 1 : 0;
        }
        return count;
    };
    EXPECT_EQ(passLines("Record"), 3);
    EXPECT_EQ(passLines("Play"), 2);
    EXPECT_TRUE(outcome.out.contains("Play Performance:\n  Min: "));
    EXPECT_TRUE(outcome.out.contains("Record Performance:\n  Min: "));
    EXPECT_TRUE(dir.Entries().empty());

    QFile file(json);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QJsonObject root = QJsonDocument::fromJson(file.readAll()).object();
    EXPECT_EQ(root["result"].toString(), "complete");
    EXPECT_FALSE(root.contains("error"));
    const QJsonObject parameters = root["parameters"].toObject();
    EXPECT_EQ(parameters["directory"].toString().toStdString(), dir.Path());
    EXPECT_EQ(parameters["files"].toInt(), 2);
    EXPECT_EQ(parameters["bufSizeKB"].toInt(), 64);
    EXPECT_EQ(parameters["simultaneous"].toBool(), false);
    const QJsonArray passes = root["passes"].toArray();
    ASSERT_EQ(passes.size(), 5);
    EXPECT_EQ(passes[0].toObject()["kind"].toString(), "Record");
    EXPECT_EQ(passes[3].toObject()["kind"].toString(), "Play");
    EXPECT_EQ(passes[4].toObject()["number"].toInt(), 2);
    EXPECT_GT(passes[4].toObject()["rate"].toDouble(), 0.0);
    EXPECT_GE(passes[4].toObject()["samples"].toArray().size(), 1);
}

TEST(CliRun, RefusedParametersAndDrivesExitWithTwoAndLeaveNothing)
{
    test::TempDir dir;
    const Outcome range = RunCli({"--dir", QString::fromStdString(dir.Path()), "--buffer", "2048"});
    EXPECT_EQ(range.exitCode, 2);
    EXPECT_TRUE(range.err.contains("--buffer must be between 1 and 1024"));
    const Outcome missing = RunCli({"--dir", QString::fromStdString(dir.Path()) + "/nowhere", "--file-size", "96"});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_TRUE(missing.err.contains("Unable to access folder \"" + QString::fromStdString(dir.Path()) + "/nowhere\"."))
        << missing.err.toStdString();
    EXPECT_TRUE(dir.Entries().empty());
}

TEST(CliRun, AFileSizeThatIsNoMultipleOfTheBufferRunsWithANote)
{
    test::TempDir dir;
    const Outcome outcome = RunCli({"--dir", QString::fromStdString(dir.Path()), "--file-size", "100", "--buffer",
                                    "64", "--reads", "1", "--writes", "1"});
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err.toStdString();
    EXPECT_TRUE(outcome.err.contains("not a multiple of the buffer size"));
}

TEST(CliRun, PicturesOfBothViewsAreWrittenAtTheEnd)
{
    test::TempDir dir;
    test::TempDir out;
    const QString folder = QString::fromStdString(out.Path()) + "/views/of/the/run";  // made by the runner
    const Outcome outcome = RunCli({"--dir", QString::fromStdString(dir.Path()), "--file-size", "256", "--buffer",
                                    "64", "--reads", "2", "--writes", "2", "--png", folder});
    ASSERT_EQ(outcome.exitCode, 0) << outcome.err.toStdString();
    for (const char* name : {"/graph.png", "/text.png"}) {
        const QImage image(folder + name);
        EXPECT_EQ(image.size(), QSize(510, 299)) << name;
    }
}

TEST(CliRun, TheChosenScaleReachesThePictures)
{
    test::TempDir dir;
    test::TempDir out;
    const QString base = QString::fromStdString(out.Path());
    const Outcome outcome = RunCli({"--dir", QString::fromStdString(dir.Path()), "--file-size", "256", "--buffer",
                                    "64", "--reads", "2", "--writes", "2", "--png", base + "/runner", "--scale",
                                    "5000", "--json", base + "/run.json"});
    ASSERT_EQ(outcome.exitCode, 0) << outcome.err.toStdString();
    for (const QStringList& args : {QStringList {"--scale", "5000", base + "/run.json", base + "/scaled"},
                                    QStringList {base + "/run.json", base + "/default"}}) {
        test::ProgramRun views;
        views.args = args;
        ASSERT_EQ(test::RunProgram(test::kViews, views).exitCode, 0) << args.join(' ').toStdString();
    }
    const QImage runner(base + "/runner/graph.png");
    EXPECT_EQ(runner, QImage(base + "/scaled/graph.png"));
    EXPECT_NE(runner, QImage(base + "/default/graph.png"));
}

TEST(CliRun, PresetsComeFromTheSettingsFileAndTheCommandLineOverridesThem)
{
    test::TempDir config;
    {
        std::ofstream ini(config.Path() + "/KelTally.ini");
        ini << "[Application]\nPresets=2\n[Preset1]\nName=Zeta\nNumFiles=3\nFileSize=128\nBufSize=64\n"
               "ReadReps=1\nWriteReps=2\nSampsSec=5\nKelMinRead=1500\n[Preset2]\nName=Alpha\n";
    }
    const Outcome listed = RunCli({"--list-presets", "--json"}, config.Path());
    ASSERT_EQ(listed.exitCode, 0) << listed.err.toStdString();
    const QJsonArray presets = QJsonDocument::fromJson(listed.out.toUtf8()).array();
    ASSERT_EQ(presets.size(), 3);  // table order, with the default added
    EXPECT_EQ(presets[0].toObject()["name"].toString(), "Zeta");
    EXPECT_EQ(presets[0].toObject()["minRead"].toInt(), 1500);
    EXPECT_EQ(presets[1].toObject()["name"].toString(), "Alpha");
    EXPECT_EQ(presets[1].toObject()["fileSize"].toInt(), 1);
    EXPECT_EQ(presets[2].toObject()["name"].toString(), "(Default)");
    std::ifstream written(config.Path() + "/KelTally.ini");
    const std::string text((std::istreambuf_iterator<char>(written)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("[Preset3]\nName=(Default)\n"), std::string::npos);

    test::TempDir dir;
    test::TempDir out;
    const QString json = QString::fromStdString(out.Path()) + "/run.json";
    const Outcome run = RunCli({"--dir", QString::fromStdString(dir.Path()), "--preset", "Zeta", "--reads", "2",
                                "--json", json},
                               config.Path());
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    QFile file(json);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QJsonObject parameters = QJsonDocument::fromJson(file.readAll()).object()["parameters"].toObject();
    EXPECT_EQ(parameters["files"].toInt(), 3);
    EXPECT_EQ(parameters["fileSizeKB"].toInt(), 128);
    EXPECT_EQ(parameters["readReps"].toInt(), 2);
    EXPECT_EQ(parameters["writeReps"].toInt(), 2);
    EXPECT_EQ(parameters["minRead"].toInt(), 1500);

    const Outcome unknown = RunCli({"--dir", QString::fromStdString(dir.Path()), "--preset", "zeta"}, config.Path());
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_TRUE(unknown.err.contains("no preset named \"zeta\""));
}

void ExpectSignalStopsTheRun(int signal, int expectedExit)
{
    test::TempDir dir;
    test::TempDir out;
    const QString json = QString::fromStdString(out.Path()) + "/run.json";
    test::TempDir config;
    QProcess process;
    test::StartProgram(process, test::kCli,
                       {"--dir", QString::fromStdString(dir.Path()), "--files", "3", "--file-size", "8192", "--buffer",
                        "64", "--reads", "1000", "--writes", "1000", "--json", json},
                       config);
    ASSERT_TRUE(process.waitForStarted());
    // Wait for the first pass, so the files exist when the signal comes.
    ASSERT_TRUE(process.waitForReadyRead(60000));
    ::kill(static_cast<pid_t>(process.processId()), signal);
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), expectedExit);
    EXPECT_TRUE(dir.Entries().empty());
    QFile file(json);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(QJsonDocument::fromJson(file.readAll()).object()["result"].toString(), "stopped");
}

TEST(CliRun, InterruptTerminateAndHangUpStopTheRunAndDeleteItsFiles)
{
    ExpectSignalStopsTheRun(SIGINT, 130);
    ExpectSignalStopsTheRun(SIGTERM, 143);
    ExpectSignalStopsTheRun(SIGHUP, 129);
}

}  // namespace
}  // namespace kel
