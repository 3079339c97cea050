// The figures beyond the rates in the record: kept per pass, summed up per
// kind, written as JSON and metrics, and read back as they were written.

#include "record/RecordJson.h"
#include "record/RecordReading.h"
#include "record/RunRecorder.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

namespace kel {
namespace {

PassFigures WritePass(int number, double stall, double buffer, bool behind, bool cliff)
{
    PassFigures figures {number, 1, {stall, 1.5, 3u << 20}, {true, 12.0, buffer, behind, 7u << 20}, {}, 0};
    figures.cliff = {cliff, 1450.0, 380.0, 41.0, 3.2 * 1024 * 1024 * 1024};
    return figures;
}

RunRecord RecordWithFigures()
{
    RunParameters parameters = DefaultRunParameters();
    parameters.readReps = 1;
    parameters.writeReps = 2;
    parameters.minWrite = 12000;
    parameters.minRead = 0;
    RunRecorder recorder;
    recorder.Begin("keltally-cli", parameters, "/mnt/x", {});
    recorder.SetRunDetails(RunOptions {true}, InterfaceLink {"SATA 6.0 Gbps", 600e6});
    const double samples[] = {20.0, 30.0};
    const PassFigures passes[] = {WritePass(1, 0.3, 5e6, false, true), WritePass(2, 0.4, 1e6, true, false),
                                  PassFigures {1, 0, {0.2, 0.1, 0}, {}, {}, 1u << 30}};
    for (const PassFigures& pass : passes) {
        recorder.AddPassResults(pass.passNumber, samples, 2, 25.0, pass.isWrite);
        recorder.AddPassFigures(pass);
    }
    RunOutcome outcome;
    outcome.result = RunResult::Failed;
    outcome.failureKind = FailureKind::Verify;
    outcome.figures = {1u << 30, {MismatchKind::OtherPlace, 1, 8192, 0, 4096, 0}, 900.0, 1100.0, 2};
    recorder.Finish(outcome);
    return recorder.Record();
}

TEST(RecordFigures, PassesAndKindsKeepTheirFiguresAndReadBackAsWritten)
{
    const RunRecord record = RecordWithFigures();
    const std::string json = RecordJson(record);
    const nlohmann::json parsed = nlohmann::json::parse(json);
    const nlohmann::json& writes = parsed["summary"]["Record"];
    // The longest stall and the first cliff, and a stream that falls behind beats any buffer.
    EXPECT_EQ(writes["longestStall"]["pass"], 2);
    EXPECT_EQ(writes["cliff"]["pass"], 1);
    EXPECT_EQ(writes["stream"]["pass"], 2);
    EXPECT_EQ(writes["stream"]["verdict"], "falls behind 12.000 MB/s for good after 7.0 MB");
    EXPECT_EQ(parsed["passes"][0]["stream"]["verdict"], "sustains 12.000 MB/s with a 4.8 MB buffer");
    EXPECT_FALSE(parsed["passes"][1]["cliff"]["found"]);
    EXPECT_FALSE(parsed["summary"]["Play"].contains("stream")) << "no minimum to judge by";
    EXPECT_EQ(parsed["passes"][2]["bytesVerified"], 1u << 30);
    EXPECT_DOUBLE_EQ(parsed["passes"][2]["rateDecimal"].get<double>(), 25.0 * 1.048576);
    EXPECT_EQ(parsed["firstMismatch"], nlohmann::json::parse(R"({"kind": "other place", "file": 1, "offset": 8192,
                                                                 "belongsToFile": 0, "belongsAtOffset": 4096})"));
    EXPECT_EQ(parsed["interface"]["name"], "SATA 6.0 Gbps");
    EXPECT_TRUE(parsed["verified"]);

    std::string problem;
    const auto back = ParseRunRecord(json, problem);
    ASSERT_TRUE(back) << problem;
    EXPECT_EQ(nlohmann::json::parse(RecordJson(*back)), parsed);
    EXPECT_EQ(RunMetrics(*back), RunMetrics(record));
}

TEST(RecordFigures, MetricsGiveTheFiguresOfEachKind)
{
    const std::string metrics = RunMetrics(RecordWithFigures());
    const std::string labels = "{folder=\"/mnt/x\",mountpoint=\"\",device=\"\"";
    for (const std::string& line : {"keltally_stall_longest_seconds" + labels + ",kind=\"write\"} 0.4\n",
                                    "keltally_stream_buffer_bytes" + labels + ",kind=\"write\"} 1e+06\n",
                                    "keltally_stream_falls_behind" + labels + ",kind=\"write\"} 1\n",
                                    "keltally_cache_cliff_bytes" + labels + ",kind=\"write\"} 3435973836.8\n",
                                    "keltally_verified_bytes" + labels + "} 1073741824\n",
                                    "keltally_interface_bytes_per_second" + labels + "} 6e+08\n"}) {
        EXPECT_NE(metrics.find(line), std::string::npos) << line;
    }
    EXPECT_EQ(metrics.find("keltally_stream_buffer_bytes{folder=\"/mnt/x\",mountpoint=\"\",device=\"\",kind=\"read\"}"),
              std::string::npos);
}

}  // namespace
}  // namespace kel
