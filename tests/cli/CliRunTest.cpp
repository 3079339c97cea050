// The runner as a program: a whole run with its JSON record, refusals, and
// stop signals that delete the files before it exits.

#include "tests/support/TempDir.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <csignal>
#include <gtest/gtest.h>

namespace kel {
namespace {

struct Outcome {
    int exitCode;
    QString out;
    QString err;
};

Outcome RunCli(const QStringList& args)
{
    QProcess process;
    process.start(KELT_CLI_PATH, args);
    process.waitForFinished(120000);
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

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
    EXPECT_TRUE(missing.err.contains("Unable to access drive A.")) << missing.err.toStdString();
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

void ExpectSignalStopsTheRun(int signal, int expectedExit)
{
    test::TempDir dir;
    test::TempDir out;
    const QString json = QString::fromStdString(out.Path()) + "/run.json";
    QProcess process;
    process.start(KELT_CLI_PATH, {"--dir", QString::fromStdString(dir.Path()), "--files", "3", "--file-size", "8192",
                                  "--buffer", "64", "--reads", "1000", "--writes", "1000", "--json", json});
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
