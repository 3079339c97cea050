// Records and metrics written by earlier versions: each record reads back and
// writes again to the same JSON (only the formatting may differ), and its
// metrics come out byte for byte as they were written. Times keep their form.

#include "record/RecordJson.h"
#include "record/RecordReading.h"

#include <nlohmann/json.hpp>

#include <fstream>
#include <gtest/gtest.h>

namespace kel {
namespace {

std::string Golden(const std::string& name)
{
    std::ifstream file(std::string(KELT_RECORD_GOLDEN) + "/" + name, std::ios::binary);
    EXPECT_TRUE(file) << name;
    return std::string(std::istreambuf_iterator<char>(file), {});
}

TEST(RecordGolden, OldRecordsReadAndWriteAgainUnchangedWithTheirMetrics)
{
    const struct {
        const char* name;
        bool hasMetrics;
    } records[] = {{"complete", true}, {"failed", true}, {"simultaneous", false}, {"unicode", true}};
    for (const auto& golden : records) {
        const std::string original = Golden(std::string(golden.name) + ".json");
        std::string problem;
        const auto record = ParseRunRecord(original, problem);
        ASSERT_TRUE(record) << golden.name << ": " << problem;
        EXPECT_EQ(nlohmann::json::parse(RecordJson(*record)), nlohmann::json::parse(original)) << golden.name;
        if (golden.hasMetrics) {
            EXPECT_EQ(RunMetrics(*record), Golden(std::string(golden.name) + ".prom")) << golden.name;
        }
    }
}

TEST(RecordGolden, AFailedRunsKindIsWrittenAndReadBackAndNamesThatAreNotUtf8AreEscaped)
{
    RunRecord record;
    record.directory = "/mnt/bad\xff\xc3";
    record.outcome.result = RunResult::Failed;
    record.outcome.failureKind = FailureKind::FolderInUse;
    record.outcome.undeletedFiles = {"/mnt/bad\xff\xc3/~kelt00x.tmp"};
    const std::string json = RecordJson(record);
    const nlohmann::json parsed = nlohmann::json::parse(json);
    EXPECT_EQ(parsed["failureKind"], "folder in use");
    EXPECT_EQ(parsed["parameters"]["directory"], "/mnt/bad\\xFF\\xC3");
    EXPECT_EQ(parsed["undeletedFiles"][0], "/mnt/bad\\xFF\\xC3/~kelt00x.tmp");
    std::string problem;
    const auto back = ParseRunRecord(json, problem);
    ASSERT_TRUE(back) << problem;
    EXPECT_EQ(back->outcome.failureKind, FailureKind::FolderInUse);
    EXPECT_EQ(back->outcome.result, RunResult::Failed);
}

TEST(RecordGolden, TimesAreUtcToTheMillisecondAndOnlyThatFormReadsBack)
{
    for (const char* text : {"2026-12-09T10:11:12.345Z", "1970-01-01T00:00:00.000Z", "2024-02-29T23:59:59.999Z"}) {
        const auto time = ParseRecordTime(text);
        ASSERT_TRUE(time) << text;
        EXPECT_EQ(RecordTimeText(*time), text);
    }
    EXPECT_EQ(ParseRecordTime("1970-01-01T00:00:01.500Z")->time_since_epoch(), std::chrono::milliseconds(1500));
    for (const char* text : {"2026-12-09T10:11:12Z", "2026-12-09 10:11:12.345Z", "2026-02-30T10:11:12.345Z",
                             "2026-12-09T24:00:00.000Z", "2026-12-09T10:11:12.345+01:00", ""}) {
        EXPECT_FALSE(ParseRecordTime(text)) << text;
    }
}

TEST(RecordGolden, InputThatIsNotJsonIsRefusedAtOnce)
{
    const std::string zeros(4096, '\0');
    std::string problem;
    EXPECT_FALSE(ParseRunRecord(zeros, problem));
    EXPECT_TRUE(problem.starts_with("not JSON: ")) << problem;
    EXPECT_NE(problem.find("at byte 1"), std::string::npos) << problem;
}

}  // namespace
}  // namespace kel
