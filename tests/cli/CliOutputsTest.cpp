// Outputs and locale: the record on standard output, the metrics for
// node_exporter, the drive list for scripts, and numbers written with a
// point whatever the locale.

#include "cli/CliReport.h"
#include "record/RecordJson.h"
#include "tests/cli/CliProcess.h"

#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QRegularExpression>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <gtest/gtest.h>

namespace kel {
namespace {

using namespace test;

QString ReadText(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

TEST(Outputs, AReportOnStandardOutputLeavesThePassLinesToStandardError)
{
    TempDir dir;
    const test::ProgramResult json = RunCli(ShortRun(dir) + QStringList {"--json", "-"});
    ASSERT_EQ(json.exitCode, 0) << json.err.toStdString();
    QJsonParseError error;
    const QJsonDocument record = QJsonDocument::fromJson(json.out.toUtf8(), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << json.out.toStdString();
    EXPECT_EQ(record["passes"].toArray().size(), 4);
    const test::ProgramResult metrics = RunCli(ShortRun(dir) + QStringList {"--metrics", "-"});
    ASSERT_EQ(metrics.exitCode, 0) << metrics.err.toStdString();
    EXPECT_TRUE(metrics.out.startsWith("# HELP keltally_")) << metrics.out.toStdString();
    for (const QString& err : {json.err, metrics.err}) {
        EXPECT_TRUE(err.contains(QRegularExpression("^Record    1  samples", QRegularExpression::MultilineOption)));
        EXPECT_TRUE(err.contains("Play Performance:\n  Min: "));
    }
}

TEST(Outputs, MetricsFollowThePrometheusTextFormatAndAgreeWithTheRecord)
{
    TempDir dir;
    TempDir out;
    const QString json = PathIn(out, "run.json");
    const QString prom = PathIn(out, "keltally.prom");
    const test::ProgramResult run =
        RunCli(ShortRun(dir, 2, 3) + QStringList {"--min-read", "1", "--json", json, "--metrics", prom});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonObject record = test::ReadJsonFile(json);
    const QJsonObject fileSystem = record["fileSystem"].toObject();
    const QString labels = QString("folder=\"%1\",mountpoint=\"%2\",device=\"%3\"")
                               .arg(QString::fromStdString(dir.Path()), fileSystem["mountPoint"].toString(),
                                    fileSystem["device"].toString());

    // name{labels} value, each family announced by its HELP and TYPE lines.
    const QRegularExpression sampleLine(R"(^(keltally_[a-z_]+)\{(.*)\} (\S+)$)");
    QMap<QString, double> values;
    QString announced;
    for (const QString& line : ReadText(prom).split('\n', Qt::SkipEmptyParts)) {
        if (line.startsWith("# HELP ")) {
            announced = line.section(' ', 2, 2);
            continue;
        }
        if (line.startsWith("# TYPE ")) {
            EXPECT_EQ(line, "# TYPE " + announced + " gauge");
            continue;
        }
        const QRegularExpressionMatch match = sampleLine.match(line);
        ASSERT_TRUE(match.hasMatch()) << line.toStdString();
        EXPECT_EQ(match.captured(1), announced) << line.toStdString();
        EXPECT_TRUE(match.captured(2).startsWith(labels)) << line.toStdString();
        bool isNumber = false;
        const double value = match.captured(3).toDouble(&isNumber);
        EXPECT_TRUE(isNumber) << line.toStdString();
        values.insert(match.captured(1) + "{" + match.captured(2).mid(labels.size()) + "}", value);
    }
    const QJsonObject play = record["summary"].toObject()["Play"].toObject();
    const QJsonObject write = record["summary"].toObject()["Record"].toObject();
    EXPECT_EQ(values["keltally_rate_min_bytes_per_second{,kind=\"read\"}"], play["min"].toDouble() * 1048576);
    EXPECT_EQ(values["keltally_rate_max_bytes_per_second{,kind=\"write\"}"], write["max"].toDouble() * 1048576);
    EXPECT_EQ(values["keltally_rate_average_bytes_per_second{,kind=\"read\"}"], play["average"].toDouble() * 1048576);
    EXPECT_EQ(values["keltally_passes{,kind=\"write\"}"], 3);
    EXPECT_EQ(values["keltally_minimum_rate_bytes_per_second{,kind=\"read\"}"], 0.001 * 1048576);
    EXPECT_FALSE(values.contains("keltally_minimum_rate_bytes_per_second{,kind=\"write\"}")) << "no minimum";
    EXPECT_EQ(values["keltally_samples_below_minimum{,kind=\"read\"}"], 0);
    EXPECT_EQ(values["keltally_run_result{,result=\"complete\"}"], 1);
    EXPECT_EQ(values["keltally_run_result{,result=\"failed\"}"], 0);
    const QDateTime finish = QDateTime::fromString(record["finish"].toString(), Qt::ISODateWithMs);
    EXPECT_EQ(values["keltally_run_finish_timestamp_seconds{}"],
              static_cast<double>(finish.toMSecsSinceEpoch()) / 1000.0);
}

TEST(Outputs, ThePrintedLinesSayWhenTheBufferedFallbackWasUsed)
{
    for (const FileAccess access : {FileAccess::Direct, FileAccess::SyncBuffered, FileAccess::Mixed}) {
        const std::unique_ptr<std::FILE, int (*)(std::FILE*)> lines(std::tmpfile(), &std::fclose);
        ASSERT_TRUE(lines);
        CliReport report(lines.get(), false);
        RunRecord record;
        record.outcome.fileAccess = access;
        report.PrintSummary(record);
        std::rewind(lines.get());
        char text[512] = {};
        const std::size_t length = std::fread(text, 1, sizeof text - 1, lines.get());
        EXPECT_EQ(std::string(text, length).find("(buffered fallback)") != std::string::npos,
                  access != FileAccess::Direct)
            << FileAccessName(access);
    }
}

TEST(Outputs, MetricLabelsEscapeWhatTheFormatRequires)
{
    RunRecord record;
    record.directory = "/mnt/a \"b\"\\c\nd";
    const QString text = QString::fromStdString(RunMetrics(record));
    EXPECT_TRUE(text.contains(R"(folder="/mnt/a \"b\"\\c\nd",mountpoint="",device="")")) << text.toStdString();
    EXPECT_FALSE(text.contains("keltally_rate_")) << "no passes, no rates";
}

TEST(Outputs, TheDriveListGivesScriptsWhatDriveNeeds)
{
    const test::ProgramResult json = RunCli({"--list-drives", "--json"});
    ASSERT_EQ(json.exitCode, 0) << json.err.toStdString();
    const QJsonArray drives = QJsonDocument::fromJson(json.out.toUtf8()).array();
    ASSERT_FALSE(drives.isEmpty()) << json.out.toStdString();
    const test::ProgramResult text = RunCli({"--list-drives"});
    ASSERT_EQ(text.exitCode, 0) << text.err.toStdString();
    const QStringList lines = text.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), drives.size() + 1);
    EXPECT_EQ(lines[0].simplified(), "Drive Free bytes Type Device Mount point Root path Label");
    for (qsizetype i = 0; i < drives.size(); ++i) {
        const QJsonObject drive = drives[i].toObject();
        for (const char* key : {"letter", "rootPath", "mountPoint", "label", "type", "device", "freeBytes"}) {
            EXPECT_TRUE(drive.contains(key)) << key;
        }
        EXPECT_TRUE(lines[i + 1].startsWith(drive["letter"].toString() + " ")) << lines[i + 1].toStdString();
        EXPECT_TRUE(lines[i + 1].contains(" " + drive["mountPoint"].toString())) << lines[i + 1].toStdString();
    }
}

// A German locale built into a folder of its own; empty when it cannot be built.
QString GermanLocaleFolder(const TempDir& folder)
{
    const std::string command = "localedef -i de_DE -f UTF-8 '" + folder.Path() + "/de_DE.UTF-8' >/dev/null 2>&1";
    return std::system(command.c_str()) == 0 ? QString::fromStdString(folder.Path()) : QString();
}

TEST(Locale, NumbersUseAPointForDecimalsWhateverTheLocale)
{
    TempDir locales;
    const QString locpath = GermanLocaleFolder(locales);
    if (locpath.isEmpty()) {
        GTEST_SKIP() << "localedef cannot build de_DE here (the locales package provides its source)";
    }
    TempDir dir;
    TempDir out;
    test::ProgramRun german;
    german.environment = {{"LOCPATH", locpath}, {"LC_ALL", "de_DE.UTF-8"}};
    german.args = ShortRun(dir) + QStringList {"--json", PathIn(out, "run.json"), "--png", PathIn(out, "de")};
    const test::ProgramResult run = test::RunProgram(test::kCli, german);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_FALSE(run.out.contains(QRegularExpression("\\d,\\d"))) << run.out.toStdString();
    EXPECT_TRUE(run.out.contains(QRegularExpression("  Avg: +\\d+\\.\\d{3} MB/s\n"))) << run.out.toStdString();
    EXPECT_FALSE(ReadText(PathIn(out, "run.json")).contains(QRegularExpression("\\d,\\d")));

    // The pictures drawn under the German locale are those of the C locale.
    test::ProgramRun plain;
    plain.args = {PathIn(out, "run.json"), PathIn(out, "c")};
    plain.environment = {{"LC_ALL", "C"}};
    ASSERT_EQ(test::RunProgram(test::kViews, plain).exitCode, 0);
    for (const char* name : {"/graph.png", "/text.png"}) {
        EXPECT_EQ(QImage(PathIn(out, "de") + name), QImage(PathIn(out, "c") + name)) << name;
    }
}

// The package's presets follow the user's in the list, marked, and --preset
// finds them; the user's own come first under the same name.
TEST(Outputs, ThePackagesPresetsFollowTheUsersAndCanBeChosen)
{
    TempDir config;
    QFile shipped(QString::fromStdString(config.Path() + "/shipped-presets.ini"));
    ASSERT_TRUE(shipped.open(QIODevice::WriteOnly));
    shipped.write("[Application]\nPresets=2\n[Preset1]\nName=Card\nNumFiles=3\nFileSize=64\nBufSize=64\n"
                  "ReadReps=1\nWriteReps=1\nSampsSec=10\nKelMinWrite=5722\n[Preset2]\nName=(Default)\nNumFiles=9\n");
    shipped.close();
    ProgramRun list {{"--list-presets", "--json"}, {}, QString::fromStdString(config.Path()), {}};
    const ProgramResult listed = RunProgram(kCli, list);
    ASSERT_EQ(listed.exitCode, 0) << listed.err.toStdString();
    const QJsonArray presets = QJsonDocument::fromJson(listed.out.toUtf8()).array();
    ASSERT_EQ(presets.size(), 3);
    EXPECT_EQ(presets[0].toObject()["name"].toString(), "(Default)");
    EXPECT_FALSE(presets[0].toObject().contains("shipped"));
    EXPECT_EQ(presets[1].toObject()["name"].toString(), "Card");
    EXPECT_TRUE(presets[1].toObject()["shipped"].toBool());
    EXPECT_EQ(presets[1].toObject()["minWrite"].toInt(), 5722);

    TempDir folder;
    ProgramRun run {{"--preset", "Card", "--dir", QString::fromStdString(folder.Path()), "--json", "-"},
                    {}, QString::fromStdString(config.Path()), {}};
    const ProgramResult ran = RunProgram(kCli, run);
    ASSERT_EQ(ran.exitCode, 0) << ran.err.toStdString();
    const QJsonObject parameters = QJsonDocument::fromJson(ran.out.toUtf8()).object()["parameters"].toObject();
    EXPECT_EQ(parameters["files"].toInt(), 3);
    EXPECT_EQ(parameters["minWrite"].toInt(), 5722);
    EXPECT_TRUE(folder.Entries().empty());
}

}  // namespace
}  // namespace kel
