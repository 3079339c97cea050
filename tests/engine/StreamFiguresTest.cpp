// The figures beyond the rates: the longest stall, the buffer a stream
// needs and its verdict, and the cache cliff of a write pass.

#include "engine/PassFigures.h"
#include "engine/PassWatch.h"
#include "tests/support/EngineFixture.h"

#include <gtest/gtest.h>

#include <vector>

namespace kel {
namespace {

constexpr std::uint32_t kBlock = 65536;
constexpr double kStream = 12.0 * 1048576.0;  // bytes per second of a 12 MB/s stream

struct Segment {
    int transfers;
    std::uint64_t micros;  // each
};

struct WatchCase {
    const char* name;
    std::vector<Segment> segments;
    double bufferBytes;
    bool fallsBehind;
    std::uint64_t behindAfterBytes;
};

TEST(PassWatch, FollowsAStreamTransferByTransfer)
{
    const WatchCase cases[] = {
        {"fast drive: one transfer's lead", {{100, 100}}, kStream * 100e-6, false, 0},
        {"300 ms stall after 10 blocks", {{10, 100}, {1, 300100}, {89, 100}}, kStream * 0.3011 - 10.0 * kBlock,
         false, 0},
        {"slower than the stream from the start", {{100, 10000}}, kStream * 1.0 - 99.0 * kBlock, true, 0},
        // The shortfall at transfer i > 10 is -1180172.3 + 60293.12 i: last kept up at 19.
        {"slows for good after 10 blocks", {{10, 100}, {90, 10000}}, -1180172.3 + 60293.12 * 100, true, 19 * kBlock},
        {"slows, then catches up", {{10, 100}, {20, 10000}, {70, 100}}, -1180172.3 + 60293.12 * 30, false, 0},
    };
    for (const WatchCase& c : cases) {
        SCOPED_TRACE(c.name);
        PassWatch watch;
        std::uint64_t now = 5000;
        watch.Start(TicksFromCount(now), TicksFromCount(1000000), 12000);
        for (const Segment& segment : c.segments) {
            for (int i = 0; i < segment.transfers; ++i) {
                now += segment.micros;
                watch.Transferred(TicksFromCount(now), kBlock);
            }
        }
        const StreamFigure stream = watch.Stream();
        EXPECT_TRUE(stream.judged);
        EXPECT_NEAR(stream.bufferBytes, c.bufferBytes, 1.0);
        EXPECT_EQ(stream.fallsBehind, c.fallsBehind);
        if (c.fallsBehind) {
            EXPECT_EQ(stream.behindAfterBytes, c.behindAfterBytes);
        }
    }
}

TEST(PassWatch, NoMinimumRateJudgesNoStream)
{
    PassWatch watch;
    watch.Start(TicksFromCount(0), TicksFromCount(1000000), 0);
    watch.Transferred(TicksFromCount(500000), kBlock);
    EXPECT_FALSE(watch.Stream().judged);
    EXPECT_EQ(StreamVerdictText(watch.Stream()), "");
    EXPECT_DOUBLE_EQ(watch.Stall().seconds, 0.5);
}

TEST(StreamVerdict, TextsSayTheBufferOrWhereTheDriveFellBehind)
{
    const struct {
        StreamFigure stream;
        const char* text;
    } cases[] = {
        {{true, 12.0, 3.04 * 1048576.0, false, 0}, "sustains 12.000 MB/s with a 3.1 MB buffer"},
        {{true, 12.0, 0.0, true, 1932735283}, "falls behind 12.000 MB/s for good after 1.8 GB"},
        {{true, 0.5, 1258.3, false, 0}, "sustains 0.500 MB/s with a 2 KB buffer"},
        {{true, 40.25, 0.0, true, 0}, "falls behind 40.250 MB/s for good after 0 KB"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(StreamVerdictText(c.stream), c.text);
    }
    EXPECT_EQ(SizeText(1.25 * 1048576.0, false), "1.3 MB");
    EXPECT_EQ(SizeText(2.5 * 1073741824.0, true), "2.5 GB");
}

TEST(PassFigures, DelayedTransferShowsAsStallAtItsPlaceWithTheBufferItImplies)
{
    test::DirectRig rig;
    int transfers = 0;
    rig.files.SetTransferHook([&] {
        if (++transfers == 11) {
            rig.clock.Advance(300000);  // the 11th write takes 300 ms more
        }
    });
    const RunOutcome outcome = rig.Run({1, 2048, 64, 1, 1, 10, 12000, 12000, 0});
    ASSERT_EQ(outcome.result, RunResult::Complete);
    const std::vector<PassFigures> figures = rig.results.Figures();
    ASSERT_EQ(figures.size(), 2u);
    const PassFigures& write = figures[0];
    EXPECT_EQ(write.isWrite, 1);
    EXPECT_NEAR(write.stall.seconds, 0.3001, 1e-9);
    EXPECT_NEAR(write.stall.atSeconds, 0.001, 1e-9);
    EXPECT_EQ(write.stall.bytesBefore, 10u * kBlock);
    EXPECT_NEAR(write.stream.bufferBytes, kStream * 0.3011 - 10.0 * kBlock, 1.0);
    EXPECT_EQ(StreamVerdictText(write.stream), "sustains 12.000 MB/s with a 3.0 MB buffer");
    const PassFigures& read = figures[1];
    EXPECT_EQ(read.isWrite, 0);
    EXPECT_NEAR(read.stall.seconds, 0.0001, 1e-9);
    EXPECT_FALSE(read.stream.fallsBehind);
}

TEST(CacheCliff, LastingFallFoundAtItsSplit)
{
    const auto run = [](std::vector<std::pair<int, std::vector<double>>> parts) {
        std::vector<double> samples;
        for (const auto& [count, pattern] : parts) {
            for (int i = 0; i < count; ++i) {
                samples.push_back(pattern[static_cast<std::size_t>(i) % pattern.size()]);
            }
        }
        return samples;
    };
    const struct {
        const char* name;
        std::vector<double> samples;
        int split;  // -1: no cliff
    } cases[] = {
        {"step from 100 to 25", run({{6, {100}}, {25, {25}}}), 6},
        {"noisy step", run({{8, {95, 105}}, {16, {20, 30}}}), 8},
        {"steady rate", run({{30, {50}}}), -1},
        {"dip that recovers", run({{10, {100}}, {10, {25}}, {10, {100}}}), -1},
        {"fall of 20 %", run({{10, {100}}, {20, {80}}}), -1},
        {"too few samples", run({{2, {100}}, {3, {25}}}), -1},
        {"a rise is no cliff", run({{10, {25}}, {20, {100}}}), -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const CliffFigure cliff = FindCacheCliff(c.samples.data(), static_cast<int>(c.samples.size()), 0.05);
        EXPECT_EQ(cliff.found, c.split >= 0);
        if (c.split >= 0) {
            EXPECT_DOUBLE_EQ(cliff.atSeconds, c.split * 0.05);
            EXPECT_NEAR(cliff.atBytes, cliff.fastRate * c.split * 0.05 * 1048576.0, 1.0);
            EXPECT_GT(cliff.fastRate, 3 * cliff.slowRate);
        }
    }
}

TEST(PassFigures, WriteRateFallingAfter32MBShowsAsCliffThere)
{
    test::DirectRig rig;
    rig.files.SetTransferTime(0, 10000);          // 100 MB/s
    rig.files.SetWriteRateFall(32u << 20, 40000);  // then 25 MB/s
    ASSERT_EQ(rig.Run({1, 65536, 256, 1, 1, 20, 0, 0, 0}).result, RunResult::Complete);
    const std::vector<PassFigures> figures = rig.results.Figures();
    ASSERT_EQ(figures.size(), 2u);
    const CliffFigure& cliff = figures[0].cliff;
    ASSERT_TRUE(cliff.found);
    const double sampleBytes = 100.0 * 0.05 * 1048576.0;  // one sample at the fast rate
    EXPECT_NEAR(cliff.atBytes, 32.0 * 1048576.0, sampleBytes);
    EXPECT_NEAR(cliff.atSeconds, 0.32, 0.05);
    EXPECT_NEAR(cliff.fastRate, 100.0, 1.0);
    EXPECT_NEAR(cliff.slowRate, 25.0, 2.0);  // the sample across the fall counts after it
    EXPECT_FALSE(figures[1].cliff.found);  // read passes are not judged
}

}  // namespace
}  // namespace kel
