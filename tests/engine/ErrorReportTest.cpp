#include "engine/ErrorReport.h"
#include "platform/FileBackend.h"
#include "platform/SystemError.h"
#include "platform/posix/PosixFileBackend.h"
#include "tests/support/EngineDoubles.h"
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

TEST(ErrorReport, ARealFailedCreateReportsItsCodeAndText)
{
    test::TempDir dir;
    PosixFileBackend files;
    const std::string path = dir.Path() + "/missing-folder/~kelt00x.tmp";
    ASSERT_LT(files.Open(path.c_str(), TestFileMode::CreateReadWrite, 4096), 0);
    test::CapturingMessageSink sink;
    ReportError(sink, "Unable to create file \"" + path + "\"", nullptr);
    ASSERT_EQ(sink.Boxes().size(), 1u);
    EXPECT_EQ(sink.Boxes()[0].type, kErrorBox);
    EXPECT_EQ(sink.Boxes()[0].text, "Unable to create file \"" + path + "\"\n-> Error " + std::to_string(ENOENT) +
                                        ":  " + std::strerror(ENOENT));
}

}  // namespace
}  // namespace kel
