// Pipes and signals: a closed or full standard output stops the run like a
// signal and its files are deleted; a second stop signal ends the runner at
// once, naming the files that may remain.

#include "tests/cli/CliProcess.h"

#include <QProcess>

#include <csignal>
#include <gtest/gtest.h>

namespace kel {
namespace {

using test::TempDir;

// A run that lasts minutes unless something stops it.
QString LongRun(const TempDir& dir)
{
    return "'" + test::kCli + "' --dir '" + QString::fromStdString(dir.Path()) +
           "' --files 3 --file-size 8192 --buffer 64 --reads 1000 --writes 1000";
}

// Runs a bash command line, its settings folder its own.
test::ProgramResult Shell(const QString& command)
{
    test::ProgramRun run;
    run.args = {"-c", command};
    return test::RunProgram("/bin/bash", run);
}

TEST(PipesAndSignals, AClosedOrFullStandardOutputStopsTheRunAndDeletesItsFiles)
{
    struct Case {
        const char* redirect;
        int exitCode;
        const char* reason;
    };
    const Case cases[] = {
        {" | head -n 1 >/dev/null; exit ${PIPESTATUS[0]}", 141, "(Broken pipe)"},
        {" >/dev/full", 1, "(No space left on device)"},
    };
    for (const Case& c : cases) {
        TempDir dir;
        const test::ProgramResult result = Shell(LongRun(dir) + c.redirect);
        EXPECT_EQ(result.exitCode, c.exitCode) << c.redirect << result.err.toStdString();
        EXPECT_TRUE(result.err.contains(c.reason)) << result.err.toStdString();
        EXPECT_TRUE(result.err.contains("Stopped; the test files have been deleted.")) << result.err.toStdString();
        EXPECT_TRUE(dir.Entries().empty()) << c.redirect;
    }
}

TEST(PipesAndSignals, ASecondStopSignalEndsTheRunnerAtOnceNamingTheFilesThatMayRemain)
{
    TempDir dir;
    TempDir config;
    QProcess process;
    // Ending at once leaves the worker running by design: under ThreadSanitizer
    // that is not a leak to report.
    test::StartProgram(process, "/bin/bash",
                       {"-c", "TSAN_OPTIONS=\"${TSAN_OPTIONS:-} report_thread_leaks=0\" exec " + LongRun(dir) +
                                  " --simultaneous"},
                       config);
    ASSERT_TRUE(process.waitForStarted());
    ASSERT_TRUE(process.waitForReadyRead(60000));
    // Two different signals, so that the second cannot merge into the first:
    // it comes long before the stop could delete the files.
    const auto pid = static_cast<pid_t>(process.processId());
    ::kill(pid, SIGINT);
    ::kill(pid, SIGTERM);
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_TRUE(process.exitCode() == 128 + SIGINT || process.exitCode() == 128 + SIGTERM) << process.exitCode();
    const QString err = process.readAllStandardError();
    const QString folder = QString::fromStdString(dir.Path());
    EXPECT_TRUE(err.endsWith("keltally-cli: ended at once; these test files may remain:\n  " + folder +
                             "/~kelt00x.tmp\n  " + folder + "/~kelt01x.tmp\n  " + folder + "/~kelt02x.tmp\n  " +
                             folder + "/~keltwwx.tmp\n"))
        << err.toStdString();
}

}  // namespace
}  // namespace kel
