// Reports that cannot be written or that clash: a report on a full file
// system keeps the old file and fails the run with the system's reason;
// targets that would land in one file, or on the run's own file names, are
// refused before the run. And a folder whose name is not UTF-8 is tested as
// it is named.

#include "tests/cli/CliProcess.h"
#include "tests/support/Privileges.h"
#include "tests/support/TmpfsMount.h"

#include <QJsonDocument>

#include <fstream>
#include <set>
#include <gtest/gtest.h>
#include <unistd.h>

namespace kel {
namespace {

using namespace test;

std::string Contents(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

void WriteFile(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

// Fills the file system that holds folder until it takes no more.
void Fill(const std::string& folder)
{
    std::ofstream filler(folder + "/fill", std::ios::binary);
    const std::string block(65536, 'x');
    while (filler.write(block.data(), static_cast<std::streamsize>(block.size())) && filler.flush()) {
    }
}

QString Q(const std::string& text)
{
    return QString::fromStdString(text);
}

TEST(ReportFailures, AReportOnAFullFileSystemKeepsTheOldFileSaysWhyAndFailsTheRun)
{
    if (!RunsAsAdministrator()) {
        GTEST_SKIP() << "mounting a small file system needs root";
    }
    TempDir dir;
    TempDir records;
    const std::string record = records.Path() + "/run.json";
    ASSERT_EQ(RunCli(ShortRun(dir) + QStringList {"--json", Q(record)}).exitCode, 0);
    struct Case {
        const char* what;
        std::string oldFile;  // in the full file system
        std::vector<std::string> args;  // @ stands for the full file system's folder
        bool views;                     // keltally-views writes, not the runner
    };
    const Case cases[] = {
        {"--json", "run.json", {"--json", "@/run.json"}, false},
        {"--metrics", "k.prom", {"--metrics", "@/k.prom"}, false},
        {"--png", "views/graph.png", {"--png", "@/views"}, false},
        {"keltally-views", "views/graph.png", {record, "@/views"}, true},
    };
    for (const Case& c : cases) {
        TmpfsMount full("size=1m");
        ASSERT_TRUE(full.Mounted()) << "mount";
        ASSERT_EQ(mkdir((full.Path() + "/views").c_str(), 0755), 0);
        const std::string oldFile = full.Path() + "/" + c.oldFile;
        WriteFile(oldFile, "the old report");
        Fill(full.Path());
        QStringList args = c.views ? QStringList() : ShortRun(dir);
        for (std::string arg : c.args) {
            args << Q(arg.starts_with("@") ? full.Path() + arg.substr(1) : arg);
        }
        ProgramRun run;
        run.args = args;
        const ProgramResult result = RunProgram(c.views ? kViews : kCli, run);
        EXPECT_EQ(result.exitCode, 1) << c.what << ": " << result.err.toStdString();
        EXPECT_TRUE(result.err.contains("No space left on device")) << c.what << ": " << result.err.toStdString();
        EXPECT_EQ(Contents(oldFile), "the old report") << c.what;
        std::set<std::string> expected {"fill", "views", c.oldFile.substr(0, c.oldFile.find('/'))};
        const std::vector<std::string> entries = full.Entries();
        EXPECT_EQ(std::set<std::string>(entries.begin(), entries.end()), expected) << c.what << ": no temporary left";
        EXPECT_TRUE(dir.Entries().empty());
    }
}

TEST(ReportFailures, TargetsThatClashAreRefusedBeforeTheRun)
{
    TempDir dir;
    TempDir out;
    WriteFile(out.Path() + "/a.json", "old");
    ASSERT_EQ(link((out.Path() + "/a.json").c_str(), (out.Path() + "/b.prom").c_str()), 0);
    const std::string o = out.Path();
    const std::string d = dir.Path();
    struct Case {
        QStringList args;
        std::string refusal;
    };
    const Case cases[] = {
        {{"--json", Q(o + "/x"), "--metrics", Q(o + "/x")}, "--json and --metrics name the same file"},
        {{"--json", Q(o + "/x"), "--metrics", Q(o + "/./y/../x")}, "--json and --metrics name the same file"},
        {{"--json", Q(o + "/a.json"), "--metrics", Q(o + "/b.prom")}, "--json and --metrics name the same file"},
        {{"--json", Q(o + "/graph.png"), "--png", Q(o)}, "--json and --png name the same file"},
        {{"--json", Q(d + "/~kelt00x.tmp")}, "--json: \"" + d + "/~kelt00x.tmp\" is a name the run's own files take"},
        {{"--metrics", Q(d + "/~kelt99x.tmp")}, "--metrics: \"" + d + "/~kelt99x.tmp\" is a name the run's own"},
        {{"--json", Q(d + "/~keltwwx.tmp")}, "--json: \"" + d + "/~keltwwx.tmp\" is a name the run's own files"},
        {{"--metrics", Q(d + "/sub/../jv7rt.d2w")}, "--metrics: \"" + d + "/sub/../jv7rt.d2w\" is a name the run"},
        {{"--png", Q(d + "/~kelt01x.tmp")}, "--png: \"" + d + "/~kelt01x.tmp\" is a name the run's own files take"},
    };
    for (const Case& c : cases) {
        const ProgramResult result = RunCli(ShortRun(dir) + c.args);
        EXPECT_EQ(result.exitCode, 2) << c.refusal;
        EXPECT_TRUE(result.err.toStdString().starts_with("keltally-cli: " + c.refusal)) << result.err.toStdString();
        EXPECT_TRUE(dir.Entries().empty()) << c.refusal << ": nothing made";
        EXPECT_EQ(out.Entries(), (std::vector<std::string> {"a.json", "b.prom"})) << c.refusal;
        EXPECT_EQ(Contents(o + "/a.json"), "old");
    }
    // Names beside the run's own are reports like any other.
    const ProgramResult beside = RunCli(ShortRun(dir) + QStringList {"--json", Q(d + "/~kelt00x.json")});
    EXPECT_EQ(beside.exitCode, 0) << beside.err.toStdString();
}

TEST(ReportFailures, AFolderNamedWithAByteThatIsNotUtf8IsTestedAsNamedAndShownEscaped)
{
    TempDir parent;
    const std::string folder = parent.Path() + "/bad\xff";
    ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
    const std::string record = parent.Path() + "/run\xfe.json";
    const ProgramResult run = RunCliWithBytes({"--dir", folder, "--files", "1", "--file-size", "64", "--buffer", "64",
                                               "--reads", "1", "--writes", "1", "--json", record});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const std::string bytes = Contents(record);
    ASSERT_FALSE(bytes.empty()) << "the record under the name given";
    QJsonParseError error;
    const QJsonObject written = QJsonDocument::fromJson(QByteArray::fromStdString(bytes), &error).object();
    EXPECT_EQ(error.error, QJsonParseError::NoError) << "valid UTF-8 JSON";
    EXPECT_EQ(written["parameters"].toObject()["directory"].toString(), Q(parent.Path() + "/bad\\xFF"));
    EXPECT_EQ(parent.Entries(), (std::vector<std::string> {"bad\xff", "run\xfe.json"}));

    const ProgramResult missing = RunCliWithBytes({"--dir", parent.Path() + "/gone\xff\x1b"});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_TRUE(missing.err.contains(Q("Unable to access folder \"" + parent.Path() + "/gone\\xFF\\x1B\".")))
        << missing.err.toStdString();
}

// Places the runner cannot use are refused with their true reason: a current
// folder that is gone is not the root folder, and /proc takes no new files.
TEST(ReportFailures, AGoneCurrentFolderAndAFolderThatTakesNoFilesAreRefusedWithTheirReason)
{
    TempDir place;
    const std::string gone = place.Path() + "/gone";
    ProgramRun inGone {{"-c", QString("mkdir '%1' && cd '%1' && rmdir '%1' && exec '%2' --files 1 --file-size 64 "
                                      "--buffer 64 --reads 1 --writes 1")
                                  .arg(QString::fromStdString(gone), kCli)},
                       {}, {}, {}};
    const ProgramResult refused = RunProgram("/bin/sh", inGone);
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_TRUE(refused.err.contains("the current folder is gone")) << refused.err.toStdString();

    TempDir folder;
    ProgramRun toProc {{"--dir", QString::fromStdString(folder.Path()), "--json", "/proc/version"}, {}, {}, {}};
    const ProgramResult proc = RunProgram(kCli, toProc);
    EXPECT_EQ(proc.exitCode, 2);
    EXPECT_TRUE(proc.err.contains("takes no new files")) << proc.err.toStdString();
    EXPECT_TRUE(folder.Entries().empty());
}

}  // namespace
}  // namespace kel
