// Reports and messages: reports go into FIFOs and devices directly and
// replace regular files atomically; the end of a stopped run names the test
// files it could not delete.

#include "tests/cli/CliProcess.h"
#include "tests/support/Privileges.h"

#include <QFile>
#include <QProcess>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <future>
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kel {
namespace {

using namespace test;

bool IsCharacterDevice(const char* path)
{
    struct stat info {};
    return stat(path, &info) == 0 && S_ISCHR(info.st_mode);
}

TEST(ReportsAndMessages, ReportsGoIntoFifosAndDevicesDirectlyAndNeverReplaceThem)
{
    TempDir dir;
    TempDir out;
    const std::string fifo = out.Path() + "/record.fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    // The FIFO's reader, as `cat FIFO` would read it.
    std::future<QByteArray> read = std::async(std::launch::async, [&fifo] {
        QFile file(QString::fromStdString(fifo));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    });
    const test::ProgramResult run =
        RunCli(ShortRun(dir) + QStringList {"--json", QString::fromStdString(fifo), "--metrics", "/dev/stdout"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    if (read.wait_for(std::chrono::seconds(0)) != std::future_status::ready) {
        // Nothing was written: a writer that comes and goes lets the reader end.
        close(open(fifo.c_str(), O_WRONLY | O_NONBLOCK));
    }
    EXPECT_TRUE(read.get().contains("\"schema\": 1"));
    struct stat info {};
    EXPECT_TRUE(stat(fifo.c_str(), &info) == 0 && S_ISFIFO(info.st_mode)) << "the FIFO stays a FIFO";
    EXPECT_TRUE(run.out.contains("\nkeltally_passes{")) << "metrics after the pass lines";

    const test::ProgramResult full = RunCli(ShortRun(dir) + QStringList {"--metrics", "/dev/full"});
    EXPECT_EQ(full.exitCode, 1);
    EXPECT_TRUE(full.err.contains("cannot write the metrics: \"/dev/full\": No space left on device"))
        << full.err.toStdString();
    EXPECT_TRUE(IsCharacterDevice("/dev/full"));
    EXPECT_TRUE(dir.Entries().empty());
}

TEST(ReportsAndMessages, ARegularFileIsReplacedWholeNotRewrittenInPlace)
{
    TempDir dir;
    TempDir out;
    const std::string json = out.Path() + "/run.json";
    {
        std::ofstream old(json);
        old << "old record";
    }
    // A second name of the old file keeps the old content when the name is replaced.
    ASSERT_EQ(link(json.c_str(), (out.Path() + "/kept.json").c_str()), 0);
    const test::ProgramResult run = RunCli(ShortRun(dir) + QStringList {"--json", QString::fromStdString(json)});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(test::ReadJsonFile(QString::fromStdString(json))["schema"].toInt(), 1);
    QFile kept(PathIn(out, "kept.json"));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "old record");
    EXPECT_EQ(out.Entries(), (std::vector<std::string> {"kept.json", "run.json"})) << "no temporary file left";
}

TEST(ReportsAndMessages, AStoppedRunNamesTheTestFilesItCouldNotDelete)
{
    if (!test::RunsAsAdministrator()) {
        GTEST_SKIP() << "making a folder immutable needs root";
    }
    TempDir dir;
    TempDir config;
    QProcess process;
    test::StartProgram(process, test::kCli,
                       {"--dir", QString::fromStdString(dir.Path()), "--files", "2", "--file-size", "8192", "--buffer",
                        "64", "--reads", "1000", "--writes", "1000"},
                       config);
    ASSERT_TRUE(process.waitForStarted());
    ASSERT_TRUE(process.waitForReadyRead(60000));
    const std::string chattr = "chattr +i '" + dir.Path() + "' 2>/dev/null";
    const bool immutable = std::system(chattr.c_str()) == 0;
    ::kill(static_cast<pid_t>(process.processId()), SIGINT);
    ASSERT_TRUE(process.waitForFinished(60000));
    const std::string undo = "chattr -i '" + dir.Path() + "'";
    if (!immutable || std::system(undo.c_str()) != 0) {
        GTEST_SKIP() << "the file system of " << dir.Path() << " has no immutable folders";
    }
    EXPECT_EQ(process.exitCode(), 130);
    const QString folder = QString::fromStdString(dir.Path());
    EXPECT_TRUE(QString(process.readAllStandardError())
                    .contains("\nStopped; these test files could not be deleted:\n  " + folder + "/~kelt00x.tmp\n  " +
                              folder + "/~kelt01x.tmp\n"));
}

}  // namespace
}  // namespace kel
