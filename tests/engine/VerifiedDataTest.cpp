// Verified runs: stamped data that no two sectors share, read back and
// checked in every read pass; a drive that wraps, returns another offset's
// block, flips a bit or returns other data ends the run saying so.

#include "engine/SectorStamp.h"
#include "tests/support/EngineFixture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace kel {
namespace {

using test::DirectRig;

TEST(SectorStamp, EverySectorDiffersAndAnyRangeReadsAsTheWhole)
{
    std::vector<std::uint8_t> whole(16 * kSectorBytes);
    std::set<std::string> sectors;
    for (int file = 0; file < 3; ++file) {
        for (std::uint32_t pass = 0; pass < 2; ++pass) {
            FillStamped(whole.data(), {7, file, pass}, 0, static_cast<std::uint32_t>(whole.size()));
            for (std::size_t at = 0; at < whole.size(); at += kSectorBytes) {
                sectors.emplace(reinterpret_cast<const char*>(whole.data() + at), kSectorBytes);
            }
        }
    }
    EXPECT_EQ(sectors.size(), 3u * 2u * 16u);
    FillStamped(whole.data(), {7, 1, 0}, 0, static_cast<std::uint32_t>(whole.size()));
    for (const std::uint32_t offset : {0u, 1024u, 5120u, 40960u}) {
        std::vector<std::uint8_t> part(3072);
        FillStamped(part.data(), {7, 1, 0}, offset, 3072);
        EXPECT_EQ(std::memcmp(part.data(), whole.data() + offset, part.size()), 0) << offset;
        EXPECT_EQ(CheckStamped(part.data(), {7, 1, 0}, offset, 3072).kind, MismatchKind::None) << offset;
    }
    // The same place written by an earlier pass, or by another run, is other data.
    EXPECT_EQ(CheckStamped(whole.data(), {7, 1, 1}, 0, kSectorBytes).kind, MismatchKind::OtherData);
    EXPECT_EQ(CheckStamped(whole.data(), {8, 1, 0}, 0, kSectorBytes).kind, MismatchKind::OtherData);
}

struct CleanCase {
    const char* name;
    RunParameters parameters;
};

TEST(VerifiedRun, ChecksEveryByteOfEveryReadPass)
{
    const CleanCase cases[] = {
        {"two files, two passes of each kind", {2, 256, 64, 2, 2, 10, 0, 0, 0}},
        {"short last block", {1, 10, 4, 1, 1, 10, 0, 0, 0}},
        {"1 KB transfers split the sectors", {1, 64, 1, 1, 1, 10, 0, 0, 0}},
        {"simultaneous", {2, 256, 64, 2, 3, 10, 0, 0, 1}},
    };
    for (const CleanCase& c : cases) {
        SCOPED_TRACE(c.name);
        DirectRig rig;
        rig.files.KeepData();
        const RunOutcome outcome = rig.Run(c.parameters, {true});
        EXPECT_EQ(outcome.result, RunResult::Complete);
        EXPECT_TRUE(rig.messages.Boxes().empty());
        const std::uint64_t passBytes =
            static_cast<std::uint64_t>(c.parameters.numFiles) * c.parameters.fileSizeKB * 1024;
        EXPECT_EQ(outcome.figures.bytesVerified, passBytes * static_cast<std::uint64_t>(c.parameters.readReps));
        EXPECT_EQ(outcome.figures.firstMismatch.kind, MismatchKind::None);
        EXPECT_GT(outcome.figures.generatorRate, 0.0);
        EXPECT_GT(outcome.figures.checkerRate, 0.0);
        for (const PassFigures& figures : rig.results.Figures()) {
            EXPECT_EQ(figures.bytesVerified, figures.isWrite != 0 ? 0 : passBytes);
        }
        EXPECT_TRUE(rig.files.ExistingFiles().empty());
    }
}

TEST(VerifiedRun, UnverifiedRunChecksNothing)
{
    DirectRig rig;
    rig.files.KeepData();
    rig.files.ZerosNth(1);
    const RunOutcome outcome = rig.Run({1, 256, 64, 1, 1, 10, 0, 0, 0});
    EXPECT_EQ(outcome.result, RunResult::Complete);
    EXPECT_EQ(outcome.figures.bytesVerified, 0u);
    EXPECT_EQ(outcome.figures.generatorRate, 0.0);
}

struct FaultCase {
    const char* name;
    std::function<void(test::FakeFileBackend&)> fault;  // set before the run; reads count from 1
    MismatchKind kind;
    int file;
    std::uint64_t offset;
    std::string text;
};

TEST(VerifiedRun, MismatchEndsTheRunSayingWhereAndWhat)
{
    const std::string file0 = "\"/virtual/~kelt00x.tmp\"";
    const std::string file1 = "\"/virtual/~kelt01x.tmp\"";
    const std::string wraps = "\n\nThe drive wraps around: it holds less than it claims (fake capacity).";
    // Two files of 2 MB in 64 KB blocks; a read pass sweeps file 0 block 0, file 1 block 0, file 0 block 1, ...
    const FaultCase cases[] = {
        {"drive wraps past 1 MB", [](test::FakeFileBackend& files) { files.WrapPast(1048576); },
         MismatchKind::OtherPlace, 0, 0,
         "File " + file0 + " at offset 0 holds the data written to file " + file0 + " at offset 1048576." + wraps},
        {"another offset's block", [](test::FakeFileBackend& files) { files.ReadOtherOffsetNth(3, 0); },
         MismatchKind::OtherPlace, 0, 65536,
         "File " + file0 + " at offset 65536 holds the data written to file " + file0 + " at offset 0." + wraps},
        {"one bit flipped", [](test::FakeFileBackend& files) { files.FlipBitNth(4, 2 * kSectorBytes * 8 + 77); },
         MismatchKind::ChangedBits, 1, 65536 + 2 * kSectorBytes,
         "Read back changed data: file " + file1 + " at offset 73728 has 1 bit changed."},
        {"zeros", [](test::FakeFileBackend& files) { files.ZerosNth(2); }, MismatchKind::OtherData, 1, 0,
         "Read back other data than written: file " + file1 + " at offset 0."},
    };
    for (const FaultCase& c : cases) {
        SCOPED_TRACE(c.name);
        DirectRig rig;
        rig.files.KeepData();
        c.fault(rig.files);
        const RunOutcome outcome = rig.Run({2, 2048, 64, 2, 1, 10, 0, 0, 0}, {true});
        EXPECT_EQ(outcome.result, RunResult::Failed);
        EXPECT_EQ(outcome.failureKind, FailureKind::Verify);
        EXPECT_EQ(outcome.errorText, c.text);
        EXPECT_EQ(outcome.figures.firstMismatch.kind, c.kind);
        EXPECT_EQ(outcome.figures.firstMismatch.fileIndex, c.file);
        EXPECT_EQ(outcome.figures.firstMismatch.offset, c.offset);
        const std::vector<test::CapturingMessageSink::Box> boxes = rig.messages.Boxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, c.text);
        EXPECT_EQ(rig.results.Passes().size(), 1u);  // the write pass; the failed read pass is not handed over
        EXPECT_TRUE(rig.files.ExistingFiles().empty());
    }
}

}  // namespace
}  // namespace kel
