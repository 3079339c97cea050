#include "engine/ErrorReport.h"
#include "platform/FileBackend.h"
#include "platform/ForeignNames.h"
#include "platform/SystemError.h"
#include "platform/posix/PosixFileBackend.h"
#include "tests/support/EngineFixture.h"
#include "tests/support/TempDir.h"

#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>

namespace kel {
namespace {

TEST(ErrorReport, AddsTheCodeAndTheSystemTextAfterTwoBlanks)
{
    EXPECT_EQ(ComposeErrorReport("Unable to create file \"x\"", 5, "Input/output error"),
              "Unable to create file \"x\"\n-> Error 5:  Input/output error");
}

TEST(ErrorReport, ALongReportIsCutAtACharacterBoundary)
{
    std::string systemText;
    for (int i = 0; i < 300; ++i) {
        systemText += "\xC3\xA9";  // é, two bytes
    }
    const std::string report = ComposeErrorReport("Failed", 28, systemText);
    EXPECT_LE(report.size(), kMaxReportBytes);
    EXPECT_EQ(report.rfind("Failed\n-> Error 28:  ", 0), 0u);
    const std::string tail = report.substr(std::strlen("Failed\n-> Error 28:  "));
    EXPECT_EQ(tail.size() % 2, 0u);
}

TEST(ErrorReport, UnknownCodesGetTheSystemsOwnText)
{
    EXPECT_NE(SystemErrorText(99999).find("Unknown error"), std::string::npos);
}

TEST(ErrorReport, FileFailuresWithoutASystemReasonSayWhatHappened)
{
    const std::pair<int, std::string> cases[] = {
        {ShortTransferCode(ShortTransfer::Write), "The system wrote fewer bytes than asked and gave no reason"},
        {ShortTransferCode(ShortTransfer::Read), "The file ended early: fewer bytes were read than asked"},
        {ForeignNameCode(ForeignName::OtherOwner),
         "The file belongs to another user, so the program leaves it untouched"},
        {ForeignNameCode(ForeignName::Held),
         "Another program holds the file locked, so the program leaves it untouched"},
        {EIO, std::strerror(EIO)},
    };
    for (const auto& [code, text] : cases) {
        EXPECT_EQ(FileErrorText(code), text) << code;
    }
}

TEST(ErrorReport, ARealFailedCreateReportsItsCodeAndText)
{
    test::TempDir dir;
    PosixFileBackend files;
    const std::string path = dir.Path() + "/missing-folder/~kelt00x.tmp";
    ASSERT_LT(files.OpenFolder((dir.Path() + "/missing-folder").c_str()), 0);
    test::CapturingMessageSink sink;
    ReportError(sink, "Unable to create file \"" + path + "\"", nullptr);
    ASSERT_EQ(sink.Boxes().size(), 1u);
    EXPECT_EQ(sink.Boxes()[0].type, kErrorBox);
    EXPECT_EQ(sink.Boxes()[0].text, "Unable to create file \"" + path + "\"\n-> Error " + std::to_string(ENOENT) +
                                        ":  " + std::strerror(ENOENT));
}

TEST(ErrorReport, ALongFolderPathIsShortenedInTheMiddleSoTheCodeAndTextSurvive)
{
    // Folder names of two-byte characters, so that a cut could split one.
    std::string folder = "/virtual";
    for (int level = 0; level < 4; ++level) {
        folder += "/" + std::string(level % 2 == 0 ? "d" : "") + std::string(120, 'a');
        for (int i = 0; i < 20; ++i) {
            folder += "\xC3\xA9";
        }
    }
    const std::string path = folder + "/~kelt00x.tmp";
    test::EngineRig rig;
    rig.drives.Register('L', folder);
    rig.files.FailNth(test::Op::Open, 1, EIO);
    ASSERT_EQ(rig.tester->SetParameters('L', 1, 8, 4, 1, 1, 10, 0, 0, 0, &rig.dialog, nullptr), 1);
    rig.tester->Start();
    ASSERT_TRUE(test::WaitUntilIdle(*rig.tester));

    ASSERT_EQ(rig.messages.Boxes().size(), 1u);
    const std::string report = rig.messages.Boxes()[0].text;
    EXPECT_LE(report.size(), kMaxReportBytes);
    const std::string head = "Unable to create file \"";
    const std::string tail = "\"\n-> Error 5:  " + std::string(std::strerror(EIO));
    ASSERT_EQ(report.rfind(head, 0), 0u) << report;
    ASSERT_GE(report.size(), head.size() + tail.size());
    ASSERT_EQ(report.substr(report.size() - tail.size()), tail) << report;
    // The name keeps the path's start and end, whole characters, "..." between.
    const std::string shown = report.substr(head.size(), report.size() - head.size() - tail.size());
    const auto dots = shown.find("...");
    ASSERT_NE(dots, std::string::npos) << shown;
    const std::string start = shown.substr(0, dots);
    const std::string end = shown.substr(dots + 3);
    EXPECT_EQ(path.rfind(start, 0), 0u);
    EXPECT_GE(start.size(), 100u);
    ASSERT_GE(end.size(), 100u);
    EXPECT_EQ(path.substr(path.size() - end.size()), end);
    EXPECT_NE(static_cast<unsigned char>(path[start.size()]) & 0xC0, 0x80) << "cut inside a character";
    EXPECT_NE(static_cast<unsigned char>(end[0]) & 0xC0, 0x80) << "cut inside a character";
    EXPECT_EQ(rig.tester->Outcome().errorText, report);
}

}  // namespace
}  // namespace kel
