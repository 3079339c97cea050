// The run record's contents: who made it, when, where, how the files were
// reached, the summary of each kind, the write passes a simultaneous run
// makes, a failed run's error; and keltally-views refusing records that
// break the rules.

#include "Version.h"
#include "record/RecordJson.h"
#include "record/RecordReading.h"
#include "record/RunRecorder.h"
#include "tests/cli/CliProcess.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>

#include <algorithm>
#include <gtest/gtest.h>

namespace kel {
namespace {

using namespace test;

// What df says of the file system that holds path: source, type, mount point.
QStringList DfLine(const QString& path)
{
    QProcess df;
    df.start("df", {"--output=source,fstype,target", path});
    df.waitForFinished();
    const QStringList lines = QString(df.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    return lines.size() == 2 ? lines[1].split(' ', Qt::SkipEmptyParts) : QStringList();
}

// The summary of one kind worked out from the passes themselves.
QJsonObject ExpectedSummary(const QJsonArray& passes, const QString& kind, double minimum)
{
    int count = 0;
    qint64 samples = 0;
    qint64 below = 0;
    double low = 1e300;
    double high = -1e300;
    double rateSum = 0.0;
    for (const QJsonValue& value : passes) {
        const QJsonObject pass = value.toObject();
        if (pass["kind"].toString() != kind) {
            continue;
        }
        ++count;
        rateSum += pass["rate"].toDouble();
        for (const QJsonValue& sample : pass["samples"].toArray()) {
            low = std::min(low, sample.toDouble());
            high = std::max(high, sample.toDouble());
            below += sample.toDouble() < minimum ? 1 : 0;
            ++samples;
        }
    }
    QJsonObject summary {{"passes", count},   {"min", low},          {"max", high},
                         {"average", rateSum / count}, {"samples", samples}, {"samplesBelowMinimum", below}};
    if (minimum > 0.0) {
        summary.insert("minimum", minimum);
    }
    return summary;
}

TEST(RecordContents, TheRecordTellsWhoWhenWhereHowAndEachKindsSummary)
{
    TempDir dir;
    TempDir out;
    const QString json = PathIn(out, "run.json");
    const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-1);
    const test::ProgramResult run = RunCli(ShortRun(dir, 2, 3) + QStringList {"--min-read", "1", "--json", json});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonObject record = test::ReadJsonFile(json);

    EXPECT_EQ(record["schema"].toInt(), 1);
    EXPECT_EQ(record["program"].toString(), "keltally-cli");
    EXPECT_EQ(record["version"].toString(), kVersion);
    const QDateTime start = QDateTime::fromString(record["start"].toString(), Qt::ISODateWithMs);
    const QDateTime finish = QDateTime::fromString(record["finish"].toString(), Qt::ISODateWithMs);
    EXPECT_TRUE(record["start"].toString().endsWith('Z')) << "UTC";
    EXPECT_TRUE(before <= start && start <= finish && finish <= QDateTime::currentDateTimeUtc());
    EXPECT_TRUE(QStringList({"direct", "synchronous buffered", "mixed"}).contains(record["fileAccess"].toString()));
    EXPECT_EQ(record["unit"].toString(), "MB/s");
    EXPECT_EQ(record["unitBytes"].toInt(), 1048576);
    EXPECT_EQ(record["writePasses"].toInt(), 3);
    EXPECT_EQ(record["undeletedFiles"].toArray().size(), 0);

    const QJsonObject fileSystem = record["fileSystem"].toObject();
    const QStringList df = DfLine(QString::fromStdString(dir.Path()));
    ASSERT_EQ(df.size(), 3);
    EXPECT_EQ(fileSystem["device"].toString(), df[0]);
    EXPECT_EQ(fileSystem["type"].toString(), df[1]);
    EXPECT_EQ(fileSystem["mountPoint"].toString(), df[2]);
    EXPECT_TRUE(fileSystem.contains("label"));

    const QJsonArray passes = record["passes"].toArray();
    const QJsonObject summary = record["summary"].toObject();
    // The rates' keys; the figures beyond them have tests of their own.
    const auto ratesOf = [](QJsonObject kind, const QJsonObject& expected) {
        for (const QString& key : kind.keys()) {
            if (!expected.contains(key)) {
                kind.remove(key);
            }
        }
        return kind;
    };
    for (const auto& [kind, minimum] : {std::pair {"Play", 0.001}, {"Record", 0.0}}) {
        const QJsonObject expected = ExpectedSummary(passes, kind, minimum);
        EXPECT_EQ(ratesOf(summary[kind].toObject(), expected), expected) << kind;
    }
}

TEST(RecordContents, ASimultaneousRunRecordsTheOneWritePassItMakes)
{
    TempDir dir;
    TempDir out;
    const QString json = PathIn(out, "run.json");
    const test::ProgramResult run = RunCli(ShortRun(dir, 2, 5) + QStringList {"--simultaneous", "--json", json});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonObject record = test::ReadJsonFile(json);
    EXPECT_EQ(record["parameters"].toObject()["writeReps"].toInt(), 5) << "as entered";
    EXPECT_EQ(record["writePasses"].toInt(), 1);
    for (const QJsonValue& pass : record["passes"].toArray()) {
        EXPECT_EQ(pass.toObject()["kind"].toString(), "Play");
    }
    EXPECT_EQ(record["summary"].toObject().keys(), QStringList {"Play"});
    EXPECT_TRUE(run.out.contains("Play/Record Performance:"));
}

TEST(RecordContents, AFailedRunKeepsItsErrorCodeAccessAndTheFilesLeftBehind)
{
    RunRecord record;
    record.outcome.result = RunResult::Failed;
    record.outcome.errorText = "Failed writing to file \"/d/~kelt00x.tmp\"\n-> Error 28:  No space left on device";
    record.outcome.errorCode = 28;
    record.outcome.undeletedFiles = {"/d/~kelt00x.tmp"};
    record.outcome.fileAccess = FileAccess::SyncBuffered;
    const QJsonObject object = QJsonDocument::fromJson(QByteArray::fromStdString(RecordJson(record))).object();
    EXPECT_EQ(object["result"].toString(), "failed");
    EXPECT_EQ(object["error"].toString().toStdString(), record.outcome.errorText);
    EXPECT_EQ(object["errorCode"].toInt(), 28);
    EXPECT_EQ(object["undeletedFiles"].toArray(), QJsonArray {"/d/~kelt00x.tmp"});
    EXPECT_EQ(object["fileAccess"].toString(), "synchronous buffered");
    EXPECT_FALSE(object.contains("failureKind")) << "not known";
    record.outcome.failureKind = FailureKind::Write;
    const QJsonObject withKind = QJsonDocument::fromJson(QByteArray::fromStdString(RecordJson(record))).object();
    EXPECT_EQ(withKind["failureKind"].toString(), "write");
    EXPECT_TRUE(object["summary"].toObject().isEmpty());
}

class CountingSink : public PassResultSink {
public:
    void ConfigureRun(int, int, int, int, int) override { ++configured; }
    void AddPassResults(int, const double*, int, double, int) override { ++passes; }
    int configured = 0;
    int passes = 0;
};

TEST(RecordContents, TheRecorderPassesEveryCallOnAndKeepsSamplesOnlyWhenAsked)
{
    for (const bool keep : {true, false}) {
        CountingSink next;
        RunRecorder recorder(&next, keep);
        RunParameters parameters = DefaultRunParameters();
        parameters.minRead = 5000;
        recorder.Begin("test", parameters, "/d", {});
        recorder.ConfigureRun(2, 1, 0, 5000, 0);
        const double first[] = {4.0, 6.0};
        const double second[] = {7.0, 3.0};
        recorder.AddPassResults(1, first, 2, 5.5, 0);
        recorder.AddPassResults(2, second, 2, 6.0, 0);
        recorder.Finish(RunOutcome {});
        const RunRecord record = recorder.Record();
        EXPECT_EQ(next.configured, 1);
        EXPECT_EQ(next.passes, 2);
        EXPECT_EQ(record.play.samplesBelowMinimum, 2);
        EXPECT_EQ(record.play.averageRate, 5.75);
        EXPECT_EQ(record.passes[1].samples.size(), keep ? 2u : 0u);
    }
}

// A record that draws, changed by one edit each.
const char* const kGoodRecord = R"({
  "parameters": {"readReps": 2, "writeReps": 1, "minRead": 0, "minWrite": 0, "simultaneous": false},
  "passes": [
    {"kind": "Record", "number": 1, "rate": 5.0, "samples": [5.0]},
    {"kind": "Play", "number": 1, "rate": 6.0, "samples": [6.0, 6.5]},
    {"kind": "Play", "number": 2, "rate": 7.0, "samples": [7.0]}
  ]
})";

QByteArray Edited(const QString& from, const QString& to)
{
    QString text = kGoodRecord;
    EXPECT_TRUE(text.contains(from)) << from.toStdString();
    return text.replace(from, to).toUtf8();
}

TEST(RecordReading, RecordsThatBreakTheRulesAreRefusedWithTheirFirstProblem)
{
    struct Case {
        QByteArray json;
        const char* problem;
    };
    const Case cases[] = {
        {Edited(R"("number": 2)", R"("number": 3)"),
         "passes[2].number: 3 is beyond the 2 Play passes of parameters.readReps"},
        {Edited(R"("writeReps": 1)", R"("writeReps": 0)"),
         "passes[0]: a Record pass, but parameters.writeReps announces none"},
        {Edited(R"("simultaneous": false)", R"("simultaneous": true)"),
         "passes[0]: a Record pass, but parameters.simultaneous (its one write pass is not drawn) announces none"},
        {Edited("[6.0, 6.5]", "[]"), "passes[1].samples: empty; a pass has at least one sample"},
        {Edited(R"("readReps": 2, )", ""), "parameters: the key \"readReps\" is missing"},
        {Edited(R"("readReps": 2)", R"("readReps": "2")"), "parameters.readReps: not a whole number"},
        {Edited(R"("simultaneous": false)", R"("simultaneous": 0)"), "parameters.simultaneous: not true or false"},
        {Edited("[6.0, 6.5]", R"([6.0, "fast"])"), "passes[1].samples[1]: not a number"},
        {Edited(R"("number": 1, "rate": 6.0)", R"("number": 0, "rate": 6.0)"), "passes[1].number: 0 is below 1"},
        {Edited(R"("kind": "Play", "number": 2)", R"("kind": "Read", "number": 2)"),
         "passes[2].kind: neither \"Record\" nor \"Play\""},
        {Edited(R"({
  "parameters")", R"({"schema": 2,
  "parameters")"), "schema: this program reads schema 1 only"},
        {"[1, 2]", "not a run record: the document is not an object"},
        {Edited(R"("simultaneous": false})", R"("simultaneous": false, "numFiles": 1, "fileSize": 64, "bufSize": 64})")
             .replace("[6.0, 6.5]", "[6.0, 6.5, 7.0]"),
         "passes[1].samples: more than the 2 samples that parameters.numFiles, fileSize and bufSize allow"},
        {Edited(R"("minRead": 0,)", R"("minRead": 0, "notes": )" + QString(70, '[') + QString(70, ']') + ","),
         "not a run record: nested deeper than 64 levels"},
    };
    for (const Case& c : cases) {
        std::string problem;
        EXPECT_FALSE(ParseRunRecord(c.json.toStdString(), problem)) << c.problem;
        EXPECT_EQ(problem, c.problem);
    }
    // Passes are read before or after the parameters, unknown keys skipped.
    for (const QByteArray& json : {QByteArray(kGoodRecord), Edited(R"("passes": [)", R"("extra": [[1], {}], "passes": [)"),
                                   QByteArray(R"({"passes": [{"kind": "Record", "number": 1, "rate": 5.0, "samples": [5.0]}],
                                                 "parameters": {"readReps": 0, "writeReps": 1, "minRead": 0,
                                                                "minWrite": 0, "simultaneous": false}})")}) {
        std::string problem;
        const auto good = ParseRunRecord(json.toStdString(), problem);
        ASSERT_TRUE(good) << problem;
        EXPECT_EQ(good->passes.size(), json.count("\"kind\"")) << json.toStdString();
    }

    // The program refuses with exit 1 and draws nothing.
    TempDir out;
    test::ProgramRun run;
    run.args = {"-", PathIn(out, "views")};
    run.input = Edited("[6.0, 6.5]", "[]");
    const test::ProgramResult refused = test::RunProgram(test::kViews, run);
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains("passes[1].samples: empty")) << refused.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(PathIn(out, "views/graph.png")));
}

// Several records: the others' passes beneath the first's in lighter
// shades, a record that breaks the rules refused by name.
TEST(RecordReading, SeveralRecordsAreDrawnTogether)
{
    TempDir out;
    const auto write = [&](const QString& name, const QByteArray& json) {
        QFile file(PathIn(out, name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(json) == json.size());
        return file.fileName();
    };
    const QString first = write("first.json", kGoodRecord);
    const QString second = write("second.json", Edited("[6.0, 6.5]", "[12.0, 14.5, 11.0]"));
    const QString broken = write("broken.json", Edited("[6.0, 6.5]", "[]"));
    const auto count = [](const QImage& image, QRgb colour) {
        int n = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                n += (image.pixel(x, y) & 0xFFFFFFu) == (colour & 0xFFFFFFu) ? 1 : 0;
            }
        }
        return n;
    };
    const QRgb lighterRead = qRgb(96, 96, 224);  // half-way from blue to the background
    struct Case {
        QStringList records;
        int exitCode;
        bool lighter;
    };
    const Case cases[] = {{{first}, 0, false}, {{first, second}, 0, true}, {{first, broken}, 1, false}};
    for (const Case& c : cases) {
        test::ProgramRun run;
        const QString folder = PathIn(out, QString::number(c.records.size()) + QString::number(c.exitCode));
        run.args = c.records + QStringList {folder};
        const test::ProgramResult drawn = test::RunProgram(test::kViews, run);
        EXPECT_EQ(drawn.exitCode, c.exitCode) << drawn.err.toStdString();
        EXPECT_EQ(drawn.err.contains("broken.json is refused"), c.exitCode == 1) << drawn.err.toStdString();
        const QImage graph(folder + "/graph.png");
        EXPECT_EQ(count(graph, lighterRead) > 0, c.lighter);
        EXPECT_EQ(count(graph, qRgb(0, 0, 255)) > 0, c.exitCode == 0);
    }
}

// Passes are drawn as they are read, so the memory a record needs does not
// grow with its samples: a record of six million samples draws within an
// address space that holding them all as JSON values would overflow.
#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
TEST(RecordReading, ALargeRecordDrawsInBoundedMemory)
{
    QByteArray samples = "7.25";
    samples.reserve(15'000'000);
    for (int i = 1; i < 3'000'000; ++i) {
        samples += i % 1000 == 0 ? ", 31.5" : ", 7.25";
    }
    QByteArray record = R"({"parameters": {"readReps": 1, "writeReps": 1, "minRead": 0, "minWrite": 0,
                          "simultaneous": false}, "passes": [)";
    for (const char* kind : {"Record", "Play"}) {
        record += QByteArray(kind == std::string("Play") ? "," : "") + R"({"kind": ")" + kind +
                  R"(", "number": 1, "rate": 7.0, "samples": [)" + samples + "]}";
    }
    record += "]}";
    TempDir out;
    test::ProgramRun run;
    run.args = {"-c", R"(ulimit -v 256000 && exec "$0" "$@")", test::kViews, "-", PathIn(out, "views")};
    run.input = record;
    const test::ProgramResult drawn = test::RunProgram("/bin/sh", run);
    EXPECT_EQ(drawn.exitCode, 0) << drawn.err.toStdString();
    EXPECT_TRUE(QFileInfo::exists(PathIn(out, "views/graph.png")));
}
#endif

}  // namespace
}  // namespace kel
