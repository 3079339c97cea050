// Every operation of a run failing in turn: the right message, once, naming
// the right file; no file left; the dialog told after the box is closed.

#include "engine/EngineMessages.h"
#include "platform/ForeignNames.h"
#include "platform/SystemError.h"
#include "tests/support/EngineFixture.h"

#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>

namespace kel {
namespace {

using test::EngineRig;
using test::Op;

// Records whether the dialog had already been told when a box was shown.
class OrderCheckingSink : public MessageSink {
public:
    explicit OrderCheckingSink(const test::RecordingDialog& dialog) : m_dialog(dialog) {}
    void ShowMessageBox(const std::string& text, unsigned type, const std::atomic<std::int32_t>*) override
    {
        texts.push_back(text);
        types.push_back(type);
        toldBeforeBox = toldBeforeBox || m_dialog.Finished() != 0;
    }
    std::vector<std::string> texts;
    std::vector<unsigned> types;
    bool toldBeforeBox = false;

private:
    const test::RecordingDialog& m_dialog;
};

struct FailureCase {
    const char* name;
    Op op;
    int nth;         // which call of op fails, counted over the whole run
    bool shortMove;  // a read or write that moves too few bytes instead of failing
    int simultaneous;
    const char* message;
    const char* file;
    int passesShown;
    FailureKind kind;
};

// 2 files of 8 KB, 4 KB transfers, 2 write and 2 read passes: per write pass
// 2 creates, 4 writes, 2 closes; per read pass 2 opens, 4 reads, 2 closes.
const FailureCase kCases[] = {
    {"CreateFirstFile", Op::Open, 1, false, 0, msg::kUnableToCreate, "~kelt00x.tmp", 0, FailureKind::Create},
    {"CreateInSecondWritePass", Op::Open, 4, false, 0, msg::kUnableToCreate, "~kelt01x.tmp", 1, FailureKind::Create},
    {"WriteSecondFile", Op::Write, 3, false, 0, msg::kFailedWriting, "~kelt01x.tmp", 0, FailureKind::Write},
    {"ShortWrite", Op::Write, 6, true, 0, msg::kFailedWriting, "~kelt00x.tmp", 1, FailureKind::Write},
    {"CloseAfterWritePass", Op::Close, 2, false, 0, msg::kFailedClosing, "~kelt01x.tmp", 1, FailureKind::Close},
    {"OpenForReading", Op::Open, 6, false, 0, msg::kUnableToOpen, "~kelt01x.tmp", 2, FailureKind::Open},
    {"Read", Op::Read, 4, false, 0, msg::kFailedReading, "~kelt01x.tmp", 2, FailureKind::Read},
    {"ShortRead", Op::Read, 5, true, 0, msg::kFailedReading, "~kelt00x.tmp", 3, FailureKind::Read},
    {"CloseAfterReadPass", Op::Close, 5, false, 0, msg::kFailedClosing, "~kelt00x.tmp", 3, FailureKind::Close},
    {"DeleteAtTheEnd", Op::Remove, 2, false, 0, msg::kFailedDeleting, "~kelt01x.tmp", 4, FailureKind::Delete},
    // Simultaneous: 1 write pass (2 creates), then per read pass 2 opens and the extra create.
    {"CreateExtraFile", Op::Open, 5, false, 1, msg::kUnableToCreate, "~keltwwx.tmp", 0, FailureKind::Create},
    {"WriteExtraFile", Op::Write, 6, false, 1, msg::kFailedWriting, "~keltwwx.tmp", 0, FailureKind::Write},
    {"CloseExtraFile", Op::Close, 5, false, 1, msg::kFailedClosing, "~keltwwx.tmp", 1, FailureKind::Close},
    {"DeleteExtraFile", Op::Remove, 3, false, 1, msg::kFailedDeleting, "~keltwwx.tmp", 2, FailureKind::Delete},
};

void PrintTo(const FailureCase& c, std::ostream* os)
{
    *os << c.name;
}

class RunFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(RunFailure, IsReportedOnceAndTheRunCleansUp)
{
    const FailureCase& c = GetParam();
    EngineRig rig;
    OrderCheckingSink sink(rig.dialog);
    rig.services.messages = &sink;
    rig.tester = std::make_unique<DriveTester>(rig.services);
    if (c.shortMove) {
        rig.files.ShortNth(c.op, c.nth);
    } else {
        rig.files.FailNth(c.op, c.nth, EIO);
    }
    rig.Run(2, 8, 4, 2, 2, 10, c.simultaneous);

    ASSERT_EQ(sink.texts.size(), 1u);
    std::string expected(c.message);
    expected.replace(expected.find("%s"), 2, "/virtual/" + std::string(c.file));
    const std::string code = c.shortMove ? "" : std::to_string(EIO);
    EXPECT_EQ(sink.texts[0].rfind(expected + "\n-> Error " + code, 0), 0u) << sink.texts[0];
    if (!c.shortMove) {
        EXPECT_EQ(sink.texts[0], expected + "\n-> Error 5:  " + SystemErrorText(EIO));
    }
    EXPECT_EQ(sink.types[0], kErrorBox);
    // The outcome carries the failure itself, whatever the box said.
    const RunOutcome& outcome = rig.tester->Outcome();
    EXPECT_EQ(outcome.result, RunResult::Failed);
    EXPECT_EQ(outcome.errorText, sink.texts[0]);
    EXPECT_EQ(outcome.failureKind, c.kind);
    if (!c.shortMove) {
        EXPECT_EQ(outcome.errorCode, EIO);
    }
    EXPECT_EQ(static_cast<int>(rig.results.Passes().size()), c.passesShown);
    EXPECT_EQ(rig.files.OpenCount(), 0);
    EXPECT_EQ(rig.dialog.Finished(), 1);
    EXPECT_FALSE(sink.toldBeforeBox);
    if (c.op != Op::Remove) {
        EXPECT_TRUE(rig.files.ExistingFiles().empty());
    }
}

INSTANTIATE_TEST_SUITE_P(EachOperation, RunFailure, ::testing::ValuesIn(kCases),
                         [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST(RunFailures, OnlyTheFirstOfSeveralFailedDeletionsIsReported)
{
    EngineRig rig;
    rig.files.FailNth(Op::Remove, 1, EACCES);
    rig.files.FailNth(Op::Remove, 2, EACCES);
    rig.Run(3, 4, 4, 1, 1, 10);
    const auto boxes = rig.messages.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text.rfind("Failed deleting file \"/virtual/~kelt00x.tmp\"", 0), 0u);
    EXPECT_EQ(rig.files.ExistingFiles(), (std::vector<std::string> {"~kelt00x.tmp", "~kelt01x.tmp"}));
    EXPECT_EQ(rig.tester->Outcome().undeletedFiles,
              (std::vector<std::string> {"/virtual/~kelt00x.tmp", "/virtual/~kelt01x.tmp"}));
    EXPECT_EQ(rig.dialog.Finished(), 1);
}

TEST(RunFailures, OnlyFilesOfTheRunsOwnKindAreListedAsLeftBehind)
{
    // A file of the run's that someone else has linked to stays listed; a
    // FIFO put in a file's place and a link planted before the run are not
    // test files.
    const int kHardLinked = ForeignNameCode(ForeignName::HardLinked);
    EngineRig rig;
    rig.files.FailNth(Op::Remove, 1, kHardLinked);
    rig.files.FailNth(Op::Remove, 2, ForeignNameCode(ForeignName::Fifo));
    rig.files.FailNth(Op::Remove, 3, EBUSY);
    rig.Run(3, 4, 4, 1, 1, 10);
    ASSERT_EQ(rig.messages.Boxes().size(), 1u);
    EXPECT_EQ(rig.messages.Boxes()[0].text, "Failed deleting file \"/virtual/~kelt00x.tmp\"\n-> Error " +
                                                std::to_string(kHardLinked) +
                                                ":  The file also has other names (hard links), so the program "
                                                "leaves it untouched");
    EXPECT_EQ(rig.tester->Outcome().undeletedFiles,
              (std::vector<std::string> {"/virtual/~kelt00x.tmp", "/virtual/~kelt02x.tmp"}));

    EngineRig planted;
    planted.files.FailNth(Op::Open, 1, kHardLinked);
    planted.files.FailNth(Op::Remove, 1, kHardLinked);
    planted.Run(1, 4, 4, 1, 1, 10);
    EXPECT_EQ(planted.tester->Outcome().errorCode, kHardLinked);
    EXPECT_TRUE(planted.tester->Outcome().undeletedFiles.empty());
}

TEST(RunFailures, ARunDeletesOnlyTheFilesItMadeNeverOneItWasRefused)
{
    // A name the run could not create (another user's file, say) is not its
    // to delete, nor to list as left behind.
    struct Case {
        int numFiles;
        int simultaneous;
        int failedOpen;  // the open call, from 1, that is refused
        std::vector<std::string> removed;
    };
    const Case cases[] = {
        {1, 0, 1, {}},
        {3, 0, 2, {"remove ~kelt00x.tmp"}},
        {2, 0, 4, {"remove ~kelt00x.tmp", "remove ~kelt01x.tmp"}},  // a read pass's open: both were made
        {1, 1, 3, {"remove ~kelt00x.tmp"}},                         // the extra file of the read pass
    };
    for (const Case& c : cases) {
        EngineRig rig;
        rig.files.FailNth(Op::Open, c.failedOpen, EACCES);
        rig.Run(c.numFiles, 4, 4, 1, 1, 10, c.simultaneous);
        EXPECT_EQ(rig.tester->Outcome().errorCode, EACCES);
        const auto log = rig.files.Log();
        std::vector<std::string> removed;
        std::copy_if(log.begin(), log.end(), std::back_inserter(removed),
                     [](const std::string& line) { return line.rfind("remove", 0) == 0; });
        EXPECT_EQ(removed, c.removed) << c.numFiles << " files, open " << c.failedOpen << " refused";
        EXPECT_TRUE(rig.tester->Outcome().undeletedFiles.empty());
    }
}

TEST(RunFailures, FileFourOfFourUnopenableIsNamedAndEveryFileStillDeleted)
{
    EngineRig rig;
    rig.files.FailNth(Op::Open, 7, kErrorNotFound);  // creates 1-4, then file 2 of the read pass
    rig.Run(4, 4, 4, 1, 1, 10);
    const auto boxes = rig.messages.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text.rfind("Unable to open file \"/virtual/~kelt02x.tmp\"", 0), 0u);
    const auto log = rig.files.Log();
    for (const char* name : {"~kelt00x.tmp", "~kelt01x.tmp", "~kelt02x.tmp", "~kelt03x.tmp"}) {
        EXPECT_NE(std::find(log.begin(), log.end(), std::string("remove ") + name), log.end());
    }
    EXPECT_TRUE(rig.files.ExistingFiles().empty());
    EXPECT_EQ(rig.files.OpenCount(), 0);
}

TEST(RunFailures, ARunStoppedDuringAReadPassClosesAndDeletesSilently)
{
    EngineRig rig;
    ASSERT_EQ(rig.tester->SetParameters('T', 3, 64, 4, 50, 1, 10, 0, 0, 1, &rig.dialog, &rig.results), 1);
    // At the third read, stop from another thread and hold the worker until
    // the request is in, so the stop lands at exactly that transfer.
    int transfers = 0;
    std::thread stopper;
    rig.files.SetTransferHook([&] {
        if (++transfers == 16 * 3 + 3) {  // 48 writes, then the third read
            stopper = std::thread([&] { rig.tester->Stop(); });
            while (rig.tester->StopRequested() == 0) {
                std::this_thread::yield();
            }
        }
    });
    rig.tester->Start();
    ASSERT_TRUE(test::WaitUntilIdle(*rig.tester));
    stopper.join();
    EXPECT_TRUE(rig.messages.Boxes().empty());
    EXPECT_TRUE(rig.files.ExistingFiles().empty());
    EXPECT_EQ(rig.files.OpenCount(), 0);
    EXPECT_EQ(rig.dialog.Finished(), 0);
    EXPECT_EQ(rig.tester->Outcome().result, RunResult::Stopped);
    EXPECT_TRUE(rig.results.Passes().empty());
    const auto log = rig.files.Log();
    EXPECT_EQ(std::count_if(log.begin(), log.end(), [](const std::string& l) { return l.rfind("read", 0) == 0; }), 3);
}

}  // namespace
}  // namespace kel
