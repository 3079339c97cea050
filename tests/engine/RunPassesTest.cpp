// The course of a run on in-memory files and a virtual clock: transfer sizes,
// sweep order, pass numbering, sampling and the simultaneous mode.

#include "engine/EngineMessages.h"
#include "engine/PassSampler.h"
#include "engine/PassStatistics.h"
#include "tests/support/EngineFixture.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace kel {
namespace {

using test::EngineRig;

std::vector<std::string> Matching(const std::vector<std::string>& log, const std::string& prefix)
{
    std::vector<std::string> lines;
    std::copy_if(log.begin(), log.end(), std::back_inserter(lines),
                 [&prefix](const std::string& line) { return line.rfind(prefix, 0) == 0; });
    return lines;
}

// The transfers and checks of the first read pass, as "r0 4096", "w 4096".
std::vector<std::string> FirstReadPass(const std::vector<std::string>& log)
{
    std::vector<std::string> pass;
    bool reading = false;
    for (const std::string& line : log) {
        if (line.rfind("open-r", 0) == 0) {
            reading = true;
        } else if (reading && line.rfind("close", 0) == 0) {
            break;
        } else if (reading && line.rfind("read ~kelt", 0) == 0) {
            pass.push_back("r" + line.substr(11, 1) + " " + line.substr(line.rfind(' ') + 1));
        } else if (reading && line.rfind("write ~keltww", 0) == 0) {
            pass.push_back("w " + line.substr(line.rfind(' ') + 1));
        }
    }
    return pass;
}

TEST(RunTransfers, AFileSizeThatIsNoMultipleOfTheBufferEndsWithAShorterTransfer)
{
    EngineRig rig;
    rig.Run(1, 10, 4, 1, 1, 10);
    EXPECT_EQ(Matching(rig.files.Log(), "write"),
              (std::vector<std::string> {"write ~kelt00x.tmp 4096", "write ~kelt00x.tmp 4096", "write ~kelt00x.tmp 2048"}));
    EXPECT_EQ(rig.files.LastGranule(), 2048u);
    EXPECT_TRUE(rig.messages.Boxes().empty());
}

TEST(RunTransfers, AFileOfOneBufferIsOneTransfer)
{
    EngineRig rig;
    rig.Run(2, 96, 96, 1, 1, 10);
    EXPECT_EQ(Matching(rig.files.Log(), "write").size(), 2u);
    EXPECT_EQ(Matching(rig.files.Log(), "read").size(), 2u);
}

TEST(RunTransfers, ReadPassesSweepTheFilesBlockByBlock)
{
    EngineRig rig;
    rig.Run(2, 12, 4, 1, 1, 10);
    EXPECT_EQ(FirstReadPass(rig.files.Log()),
              (std::vector<std::string> {"r0 4096", "r1 4096", "r0 4096", "r1 4096", "r0 4096", "r1 4096"}));
}

TEST(RunTransfers, SimultaneousSweepsEndWithAWriteToTheExtraFile)
{
    EngineRig rig;
    rig.Run(2, 12, 4, 1, 1, 10, 1);
    EXPECT_EQ(FirstReadPass(rig.files.Log()),
              (std::vector<std::string> {"r0 4096", "r1 4096", "w 4096", "r0 4096", "r1 4096", "w 4096", "r0 4096",
                                         "r1 4096", "w 4096"}));
}

TEST(RunTransfers, FilesAreWrittenOneAfterAnotherAndDeletedAtTheEnd)
{
    EngineRig rig;
    rig.Run(3, 8, 4, 0, 2, 10);
    const auto log = rig.files.Log();
    // The folder is held from before the first flush to after the last delete.
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[0], "lock /virtual");
    EXPECT_EQ(log[1], "flush /virtual");
    EXPECT_EQ(log.back(), "unlock /virtual");
    EXPECT_EQ(Matching(log, "write"),
              (std::vector<std::string> {"write ~kelt00x.tmp 4096", "write ~kelt00x.tmp 4096", "write ~kelt01x.tmp 4096",
                                         "write ~kelt01x.tmp 4096", "write ~kelt02x.tmp 4096", "write ~kelt02x.tmp 4096",
                                         "write ~kelt00x.tmp 4096", "write ~kelt00x.tmp 4096", "write ~kelt01x.tmp 4096",
                                         "write ~kelt01x.tmp 4096", "write ~kelt02x.tmp 4096", "write ~kelt02x.tmp 4096"}));
    EXPECT_EQ(Matching(log, "remove"),
              (std::vector<std::string> {"remove ~kelt00x.tmp", "remove ~kelt01x.tmp", "remove ~kelt02x.tmp"}));
    EXPECT_TRUE(rig.files.ExistingFiles().empty());
    EXPECT_EQ(rig.dialog.Finished(), 1);
}

TEST(RunPasses, PassesAreNumberedFromOneWithinTheirKind)
{
    EngineRig rig;
    rig.Run(1, 8, 4, 2, 3, 10);
    const auto passes = rig.results.Passes();
    ASSERT_EQ(passes.size(), 5u);
    const std::vector<std::pair<int, int>> expected {{1, 1}, {2, 1}, {3, 1}, {1, 0}, {2, 0}};
    for (std::size_t i = 0; i < passes.size(); ++i) {
        EXPECT_EQ(passes[i].number, expected[i].first);
        EXPECT_EQ(passes[i].isWrite, expected[i].second);
    }
}

TEST(RunPasses, SimultaneousRunsShowOnlyReadPassesAndEmptyTheExtraFileEachTime)
{
    EngineRig rig;
    rig.Run(1, 8, 4, 3, 7, 10, 1);
    const auto passes = rig.results.Passes();
    ASSERT_EQ(passes.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(passes[i].number, i + 1);
        EXPECT_EQ(passes[i].isWrite, 0);
    }
    const auto log = rig.files.Log();
    EXPECT_EQ(std::count(log.begin(), log.end(), "open-c ~keltwwx.tmp"), 3);
    EXPECT_EQ(std::count(log.begin(), log.end(), "remove ~keltwwx.tmp"), 1);
    EXPECT_TRUE(rig.files.ExistingFiles().empty());
}

TEST(RunPasses, ASimultaneousReadPassCountsTheBytesWrittenToo)
{
    EngineRig rig;
    // 1 MiB per 100 ms: one 1 MiB read and one 1 MiB write per sweep.
    rig.files.SetTransferTime(0, 100000);
    rig.Run(1, 1024, 1024, 1, 1, 0, 1);
    const auto passes = rig.results.Passes();
    ASSERT_EQ(passes.size(), 1u);
    EXPECT_DOUBLE_EQ(passes[0].rate, RateMBs(2 * 1048576, 0.2));
    EXPECT_EQ(rig.files.FileSize("~kelt00x.tmp"), 0u);
}

TEST(RunSampling, APassEndingBeforeItsFirstDeadlineHandsOverOneSampleEqualToItsRate)
{
    EngineRig rig;
    rig.Run(1, 16, 4, 1, 1, 1);  // a sample per second, four 100 us transfers
    for (const auto& pass : rig.results.Passes()) {
        ASSERT_EQ(pass.samples.size(), 1u);
        EXPECT_DOUBLE_EQ(pass.samples[0], pass.rate);
        EXPECT_DOUBLE_EQ(pass.rate, RateMBs(16384, 0.0004));
    }
}

TEST(RunSampling, TheGridRunsOnAcrossFileBoundaries)
{
    EngineRig rig;
    // 100 files of 1 KB: 100 transfers of 100 us; 200 samples a second over
    // 100 files puts a deadline every 0.5 s, so none falls due: one sample.
    rig.Run(100, 1, 1, 1, 1, 200);
    const auto passes = rig.results.Passes();
    ASSERT_EQ(passes.size(), 2u);
    EXPECT_EQ(Matching(rig.files.Log(), "write").size(), 100u);
    EXPECT_EQ(passes[0].samples.size(), 1u);

    EngineRig fine;
    // One sample per 5 transfers' worth of time: 1 file, 10 samples/s, 20 ms per transfer.
    fine.files.SetTransferTime(20000);
    fine.Run(1, 12, 1, 1, 1, 10);
    const auto finePasses = fine.results.Passes();
    ASSERT_EQ(finePasses.size(), 2u);
    EXPECT_EQ(finePasses[0].samples.size(), 2u);  // at 100 ms and 200 ms; 40 ms of tail
    EXPECT_DOUBLE_EQ(finePasses[0].samples[0], RateMBs(5 * 1024, 0.1));
    EXPECT_DOUBLE_EQ(finePasses[0].rate, RateMBs(12 * 1024, 0.24));
}

TEST(RunSampling, ASampleDueOnAStoppedMillisecondClockEndsTheRun)
{
    EngineRig rig(false);
    int transfers = 0;
    // The first transfer takes 10 ms, the rest take no time on a millisecond clock.
    rig.files.SetTransferTime(0);
    rig.files.SetTransferHook([&] {
        if (transfers++ == 0) {
            rig.clock.Advance(10);
        }
    });
    rig.Run(1, 16, 4, 1, 1, 200);
    const auto boxes = rig.messages.Boxes();
    ASSERT_EQ(boxes.size(), 2u);  // the clock warning, then the failure
    EXPECT_EQ(boxes[1].text, msg::kIntervalTooSmallSample);
    EXPECT_EQ(boxes[1].type, kPlainBox);
    EXPECT_EQ(rig.tester->Outcome().errorText, msg::kIntervalTooSmallSample);  // not the clock warning
    EXPECT_TRUE(rig.results.Passes().empty());
    EXPECT_TRUE(rig.files.ExistingFiles().empty());
    EXPECT_EQ(rig.dialog.Finished(), 1);
}

TEST(RunSampling, APassThatTookNoTimeEndsTheRun)
{
    EngineRig rig;
    rig.files.SetTransferTime(0);
    rig.Run(1, 16, 4, 1, 1, 10);
    const auto boxes = rig.messages.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, msg::kIntervalTooSmallPass);
    EXPECT_EQ(boxes[0].type, kPlainBox);
    // A plain message that ends a run is a failure too, without a system code.
    EXPECT_EQ(rig.tester->Outcome().result, RunResult::Failed);
    EXPECT_EQ(rig.tester->Outcome().errorText, msg::kIntervalTooSmallPass);
    EXPECT_EQ(rig.tester->Outcome().errorCode, 0);
    EXPECT_TRUE(rig.files.ExistingFiles().empty());
    EXPECT_EQ(rig.dialog.Finished(), 1);
}

TEST(RunFigures, TheLowestAndHighestAreThoseOfTheSamplesHoweverFast)
{
    struct Case {
        std::vector<std::vector<double>> passes;
        double min;
        double max;
    };
    const Case cases[] = {
        {{{12000.0, 15000.0}, {11000.5}}, 11000.5, 15000.0},  // every sample faster than 9999 MB/s
        {{{-20000.0, -10000.0}}, -20000.0, -10000.0},
        {{{3.0, 7.0}, {}, {2.0}}, 2.0, 7.0},
    };
    for (const Case& c : cases) {
        PassStatistics statistics;
        const double earlier[] = {1.0, 99999.0};
        statistics.Add(1, earlier, 2, 1.0);  // a run before: pass 1 starts afresh
        for (std::size_t i = 0; i < c.passes.size(); ++i) {
            statistics.Add(static_cast<int>(i) + 1, c.passes[i].data(), static_cast<int>(c.passes[i].size()), 1.0);
        }
        EXPECT_EQ(statistics.minRate, c.min);
        EXPECT_EQ(statistics.maxRate, c.max);
    }
}

TEST(RunOutcomes, TellHowTheFilesWereReached)
{
    for (const bool direct : {true, false}) {
        EngineRig rig;
        rig.files.SetDirect(direct);
        rig.Run(2, 8, 4, 1, 1, 10);
        EXPECT_EQ(rig.tester->Outcome().fileAccess, direct ? FileAccess::Direct : FileAccess::SyncBuffered);
    }
    EXPECT_EQ(CombineFileAccess(FileAccess::Direct, false), FileAccess::Mixed);
    EXPECT_EQ(CombineFileAccess(FileAccess::None, false), FileAccess::SyncBuffered);
}

}  // namespace
}  // namespace kel
