// A dialog program that ends during a run without closing its window, as it
// does when its display goes away: the run is stopped and its files deleted.

#include "tests/support/TempDir.h"

#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

namespace kel::test {
namespace {

class ProcessEnd : public ::testing::TestWithParam<const char*> {};

TEST_P(ProcessEnd, DuringARunStopsItAndDeletesTheTestFiles)
{
    TempDir folder;
    TempDir config;
    QProcess helper;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), QString::fromStdString(config.Path()));
    // A program ended by exit() keeps what its window held; a leak checker
    // (in sanitizer builds) would count that and fail the helper.
    const QString sanitizer = environment.value(QStringLiteral("ASAN_OPTIONS"));
    environment.insert(QStringLiteral("ASAN_OPTIONS"), sanitizer + (sanitizer.isEmpty() ? "" : ":") + "detect_leaks=0");
    helper.setProcessEnvironment(environment);
    helper.setProcessChannelMode(QProcess::ForwardedChannels);
    helper.start(QStringLiteral(KELT_EXIT_HELPER), {QString::fromStdString(folder.Path()), QString(GetParam())});
    ASSERT_TRUE(helper.waitForFinished(60000)) << "the program did not end";
    EXPECT_EQ(helper.exitStatus(), QProcess::NormalExit) << "ended by a signal";
    EXPECT_EQ(helper.exitCode(), 3);
    EXPECT_TRUE(folder.Entries().empty()) << folder.Entries().front();
}

INSTANTIATE_TEST_SUITE_P(Ways, ProcessEnd, ::testing::Values("exit", "broken-stderr"),
                         [](const auto& testInfo) { return std::string(testInfo.param[0] == 'e' ? "Exit" : "BrokenStderr"); });

}  // namespace
}  // namespace kel::test
