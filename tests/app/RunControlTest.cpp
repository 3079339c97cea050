// Starting, stopping and leaving runs on a temporary drive, and what the
// controls show in each state.

#include "app/MessagePresenter.h"
#include "app/RunExitGuard.h"
#include "app/RunProgressTitle.h"
#include "platform/DriveTable.h"
#include "platform/StopSignals.h"
#include "tests/app/DialogFixture.h"
#include "tests/support/EngineDoubles.h"

#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>

#include <cerrno>
#include <csignal>

namespace kel::test {
namespace {

const std::vector<QString> kShortRun {"1", "96", "96", "2", "2", "10"};
// Long enough to be stopped: a thousand passes of each kind.
const std::vector<QString> kLongRun {"1", "4096", "4", "1000", "1000", "10"};

const std::vector<int> kRunningControls {id::kDisplayLabel, id::kAsGraph, id::kAsText, id::kAbout, id::kExit,
                                         id::kStop};

class RunControlTest : public DialogFixture {
protected:
    void SetUp() override
    {
        DialogFixture::SetUp();
        OpenDialog();
        Click(id::kAdvanced);
        SelectDrive('T');
    }

    void Start(const std::vector<QString>& values)
    {
        SetParameters(values);
        Click(id::kStart);
        ASSERT_TRUE(m_messages.empty()) << m_messages.front().text.toStdString();
    }

    static QImage Rgb(const QImage& image) { return image.convertToFormat(QImage::Format_RGB32); }
};

TEST_F(RunControlTest, StartSwitchesToRunningAndStopBackToIdle)
{
    const std::vector<int> idleControls = EnabledRunControls();
    Start(kLongRun);
    EXPECT_EQ(m_dialog->Tester().IsRunning(), 1);
    EXPECT_EQ(QApplication::focusWidget(), Item(id::kStop));
    EXPECT_EQ(EnabledRunControls(), kRunningControls);

    Click(id::kStop);
    EXPECT_FALSE(Item(id::kStop)->isEnabled()) << "a stop is asked for once";
    ASSERT_TRUE(WaitForIdle());
    EXPECT_EQ(QApplication::focusWidget(), Item(id::kStart));
    EXPECT_EQ(EnabledRunControls(), idleControls);
    EXPECT_TRUE(Leftovers().empty());
    // No end-of-run message comes after a stop to undo anything.
    WaitUntil([] { return false; }, 100);
    EXPECT_EQ(EnabledRunControls(), idleControls);
}

// The note beside the buttons: a folder in memory is named from the start
// of the run on, and the note goes with the next run elsewhere.
TEST_F(RunControlTest, ANoteSaysWhenTheFilesLieInMemory)
{
    const auto note = [this] { return static_cast<QLabel*>(Item(id::kAccessNote))->text(); };
    const QString inMemory = QStringLiteral("The test folder lies in memory (tmpfs)");
    EXPECT_TRUE(note().isEmpty());
    m_drives.Register(DriveEntry {'T', m_drive.Path(), m_drive.Path(), "", "tmpfs", "tmpfs"});
    Start(kLongRun);
    EXPECT_TRUE(note().startsWith(inMemory)) << note().toStdString();
    Click(id::kStop);
    ASSERT_TRUE(WaitForIdle());
    EXPECT_TRUE(note().startsWith(inMemory)) << note().toStdString();
    m_drives.Register('T', m_drive.Path());
    Start(kShortRun);
    ASSERT_TRUE(WaitForIdle());
    EXPECT_FALSE(note().startsWith(inMemory)) << note().toStdString();
}

TEST_F(RunControlTest, RunEndingByItselfReturnsToIdle)
{
    const std::vector<int> idleControls = EnabledRunControls();
    Start(kShortRun);
    ASSERT_TRUE(WaitForIdle());
    EXPECT_EQ(QApplication::focusWidget(), Item(id::kStart));
    EXPECT_EQ(EnabledRunControls(), idleControls);
    EXPECT_EQ(m_dialog->Graph().HasResults(), 1);
    EXPECT_TRUE(Leftovers().empty());
    EXPECT_TRUE(m_messages.empty());
}

// With the preset's defaults at whatever speed this disk has, both kinds'
// curves lie inside the plot: the scale fits them when they pass 20 MB/s.
TEST_F(RunControlTest, ARunWithTheDefaultsShowsItsCurves)
{
    Click(id::kStart);
    ASSERT_TRUE(WaitForIdle());
    ASSERT_EQ(m_dialog->Graph().HasResults(), 1);
    const QImage graph = Rgb(m_dialog->Graph().GraphImage());
    const QRect plot(QPoint(30, 26), QPoint(420, 275));  // left of the legend
    for (const QRgb colour : {qRgb(0, 0, 255), qRgb(255, 0, 0)}) {
        int inside = 0;
        for (int y = plot.top(); y <= plot.bottom(); ++y) {
            for (int x = plot.left(); x <= plot.right(); ++x) {
                inside += graph.pixel(x, y) == colour;
            }
        }
        EXPECT_GT(inside, 100) << std::hex << colour;
    }
    EXPECT_FALSE(m_dialog->Graph().HidesResults());
}

TEST_F(RunControlTest, ExitDuringARunAsksThenStopsItAndCloses)
{
    Start(kLongRun);
    ASSERT_TRUE(WaitUntil([this] { return m_dialog->Tester().IsRunning() == 1; }));
    m_answer = false;
    Click(id::kExit);
    EXPECT_EQ(m_questions, QStringList {"Stop the test and quit?"});
    EXPECT_EQ(m_dialog->Tester().IsRunning(), 1) << "No keeps the run going";
    EXPECT_TRUE(m_dialog->isVisible());
    m_answer = true;
    Click(id::kExit);
    ASSERT_TRUE(WaitUntil([this] { return !m_dialog->isVisible(); }));
    EXPECT_EQ(m_dialog->Tester().IsRunning(), 0);
    EXPECT_EQ(m_dialog->result(), QDialog::Rejected);
    EXPECT_TRUE(Leftovers().empty());
}

TEST_F(RunControlTest, StopSignalsDuringARunStopItDeleteItsFilesAndClose)
{
    CloseOnStopSignals(*m_dialog);
    Start(kLongRun);
    ASSERT_TRUE(WaitUntil([this] { return !Leftovers().empty(); }));
    std::raise(SIGTERM);
    ASSERT_TRUE(WaitUntil([this] { return !m_dialog->isVisible(); }));
    EXPECT_EQ(m_dialog->Tester().IsRunning(), 0);
    EXPECT_EQ(m_dialog->result(), QDialog::Rejected);
    EXPECT_TRUE(Leftovers().empty());
    EXPECT_EQ(PendingStopSignal(), SIGTERM);
}

// Escape never quits; closing the window during a run asks first, and only
// Yes stops the run and closes. Idle, Exit and closing ask nothing.
TEST_F(RunControlTest, EscapeIsIgnoredAndClosingDuringARunAsks)
{
    Start(kLongRun);
    ASSERT_TRUE(WaitUntil([this] { return m_dialog->Tester().IsRunning() == 1; }));
    QTest::keyClick(m_dialog.get(), Qt::Key_Escape);
    EXPECT_EQ(m_dialog->Tester().IsRunning(), 1);
    EXPECT_TRUE(m_dialog->isVisible());
    EXPECT_TRUE(m_questions.isEmpty());

    m_answer = false;
    m_dialog->close();
    EXPECT_EQ(m_questions, QStringList {"Stop the test and quit?"});
    EXPECT_EQ(m_dialog->Tester().IsRunning(), 1);
    EXPECT_TRUE(m_dialog->isVisible());
    m_answer = true;
    m_dialog->close();
    ASSERT_TRUE(WaitUntil([this] { return !m_dialog->isVisible(); }));
    EXPECT_EQ(m_dialog->Tester().IsRunning(), 0);
    EXPECT_TRUE(Leftovers().empty());

    m_questions.clear();
    OpenDialog();
    QTest::keyClick(m_dialog.get(), Qt::Key_Escape);
    EXPECT_TRUE(m_dialog->isVisible());
    Click(id::kExit);
    EXPECT_FALSE(m_dialog->isVisible());
    EXPECT_TRUE(m_questions.isEmpty());
}

TEST_F(RunControlTest, DisplayModeSwitchesDuringARun)
{
    Start(kLongRun);
    ASSERT_TRUE(WaitUntil([this] { return m_dialog->Graph().HasResults() == 1; }));
    Click(id::kAsText);
    EXPECT_EQ(m_dialog->Tester().IsRunning(), 1);
    Click(id::kStop);
    ASSERT_TRUE(WaitForIdle());
    EXPECT_EQ(Rgb(m_dialog->Graph().grab().toImage()), Rgb(m_dialog->Graph().TextImage()));

    Click(id::kAsGraph);
    EXPECT_EQ(Rgb(m_dialog->Graph().grab().toImage()), Rgb(m_dialog->Graph().GraphImage()));
    EXPECT_NE(m_dialog->Graph().GraphImage(), m_dialog->Graph().TextImage());
}

TEST(RunProgressTitle, NamesThePassAfterTheLastOneDrawn)
{
    RunParameters run {1, 96, 96, 3, 2, 10, 0, 0, 0};
    const struct {
        DrawnPass last;
        const char* title;
    } cases[] = {
        {{0, false}, "Kel Tallyforge - Record 1 of 2"}, {{1, true}, "Kel Tallyforge - Record 2 of 2"},
        {{2, true}, "Kel Tallyforge - Play 1 of 3"},    {{1, false}, "Kel Tallyforge - Play 2 of 3"},
        {{3, false}, "Kel Tallyforge - Play 3 of 3"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RunProgressTitle(run, c.last), c.title) << c.last.passNumber << c.last.isWrite;
    }
    run.simultaneous = 1;
    EXPECT_EQ(RunProgressTitle(run, {0, false}), "Kel Tallyforge - Play/Record 1 of 3");
    EXPECT_EQ(RunProgressTitle(run, {1, false}), "Kel Tallyforge - Play/Record 2 of 3");
}

TEST(RunProgressTitle, AddsTheShareDoneAndTheTimeLeft)
{
    const RunParameters run {1, 96, 96, 3, 2, 10, 0, 0, 0};
    const struct {
        DrawnPass last;
        double elapsed;
        const char* tail;
    } cases[] = {
        {{0, false}, 0.0, "Record 1 of 2 - 0 %"},       {{1, true}, 2.0, "Record 2 of 2 - 20 %, 8 s left"},
        {{2, true}, 4.0, "Play 1 of 3 - 40 %, 6 s left"}, {{2, false}, 800.0, "Play 3 of 3 - 80 %, 3 min left"},
        {{3, false}, 9.0, "Play 3 of 3 - 100 %, 0 s left"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RunProgressTitle(run, c.last, c.elapsed), QStringLiteral("Kel Tallyforge - ") + c.tail);
    }
    RunParameters simultaneous = run;
    simultaneous.simultaneous = 1;
    EXPECT_EQ(RunProgressTitle(simultaneous, {1, false}, 3.0),
              "Kel Tallyforge - Play/Record 2 of 3 - 33 %, 6 s left");
}

// The titles a run shows: the pass in progress with the share done and the
// time left, never going back, then the program's name however the run
// ends. A pass may be drawn before the title has shown the one before, so
// titles may be skipped, never reordered.
TEST_F(RunControlTest, TitleNamesThePassInProgressUntilTheRunEnds)
{
    QStringList titles;
    QObject::connect(m_dialog.get(), &QWidget::windowTitleChanged, [&titles](const QString& t) { titles << t; });
    const QString first = QStringLiteral("Kel Tallyforge - Record 1 of 1000 - 0 %");
    Start(kLongRun);
    EXPECT_EQ(m_dialog->windowTitle(), first);
    ASSERT_TRUE(WaitUntil([this, &first] { return m_dialog->windowTitle() != first; }));
    Click(id::kStop);
    ASSERT_TRUE(WaitForIdle());
    EXPECT_EQ(m_dialog->windowTitle(), "Kel Tallyforge");
    WaitUntil([] { return false; }, 100);
    EXPECT_EQ(m_dialog->windowTitle(), "Kel Tallyforge") << "passes still queued at the stop change nothing";
    const QRegularExpression record(
        QStringLiteral("^Kel Tallyforge - Record (\\d+) of 1000 - (\\d+) %(, \\d+ (s|min) left)?$"));
    int previous = 0;
    for (const QString& title : titles.mid(0, titles.size() - 1)) {
        const QRegularExpressionMatch match = record.match(title);
        ASSERT_TRUE(match.hasMatch()) << title.toStdString();
        EXPECT_GT(match.captured(1).toInt(), previous);
        EXPECT_EQ(match.captured(2).toInt(), (match.captured(1).toInt() - 1) * 100 / 2000);
        EXPECT_EQ(match.captured(3).isEmpty(), match.captured(1) == "1") << "the time left once a pass is done";
        previous = match.captured(1).toInt();
    }

    const QStringList shortRun {"Kel Tallyforge - Record 1 of 2", "Kel Tallyforge - Record 2 of 2",
                                "Kel Tallyforge - Play 1 of 2", "Kel Tallyforge - Play 2 of 2", "Kel Tallyforge"};
    titles.clear();
    Start(kShortRun);
    ASSERT_TRUE(WaitForIdle());
    ASSERT_FALSE(titles.isEmpty());
    EXPECT_EQ(titles.front(), shortRun.front() + " - 0 %");
    EXPECT_EQ(titles.back(), "Kel Tallyforge");
    qsizetype at = 0;
    QString previousPass;
    for (const QString& title : titles) {
        // The pass without its share and time, which depend on the drive;
        // the last pass is named again with 100 % once it is done.
        const QString pass = title.section(QStringLiteral(" - "), 0, 1);
        if (pass == previousPass) {
            continue;
        }
        previousPass = pass;
        at = shortRun.indexOf(pass, at);
        ASSERT_GE(at, 0) << "out of order or unknown: " << titles.join(" | ").toStdString();
        ++at;
    }
}

TEST_F(RunControlTest, RefusedDriveLeavesTheDialogIdle)
{
    m_drives.Register('T', m_drive.Path() + "/missing");
    SetParameters(kShortRun);
    Click(id::kStart);
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages.front().text, "Unable to access drive T.");
    EXPECT_EQ(m_dialog->Tester().IsRunning(), 0);
    EXPECT_TRUE(Item(id::kStart)->isEnabled());
    EXPECT_FALSE(Item(id::kStop)->isEnabled());
}

TEST_F(RunControlTest, AFolderThatAnotherRunHoldsIsRefusedWithOneMessageAndLeftAlone)
{
    CapturingMessageSink otherMessages;
    PlatformServices services = DefaultPlatformServices();
    services.messages = &otherMessages;
    DriveTester other(services);
    ASSERT_EQ(other.SetRun(m_drive.Path(), RunParameters {1, 4096, 4, 1000, 1000, 10, 0, 0, 0}, nullptr, nullptr), 1);
    other.Start();
    ASSERT_TRUE(WaitUntil([this] { return !Leftovers().empty(); }));

    Start(kShortRun);
    ASSERT_TRUE(WaitUntil([this] { return !m_messages.empty(); }));
    ASSERT_TRUE(WaitForIdle());
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages.front().text.toStdString(), "Unable to use the folder \"" + m_drive.Path() +
                                                         "\"\n-> Error " + std::to_string(EWOULDBLOCK) +
                                                         ":  Another test is running in this folder");
    EXPECT_EQ(m_messages.front().type, kErrorBox);
    EXPECT_EQ(other.IsRunning(), 1);
    EXPECT_EQ(Leftovers(), std::vector<std::string> {"~kelt00x.tmp"});
    other.Stop();
    EXPECT_TRUE(otherMessages.Boxes().empty());
    EXPECT_TRUE(Leftovers().empty());
}

TEST_F(RunControlTest, StartWithoutAChosenDriveAsksForOne)
{
    auto* drives = static_cast<QComboBox*>(Item(id::kDriveList));
    drives->setCurrentIndex(-1);
    SetParameters(kShortRun);
    Click(id::kStart);
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages.front().text, "Please choose the drive to test from the Drive list.");
    EXPECT_EQ(m_dialog->Tester().IsRunning(), 0);
    EXPECT_TRUE(Item(id::kStart)->isEnabled());
    EXPECT_TRUE(Leftovers().empty());
}

// A drive stuck in a transfer: the window answers while the stop waits, says
// that it waits for the drive, and Exit then asks whether to quit without
// the files deleted; No keeps waiting, and the run's end closes the window.
TEST_F(RunControlTest, AStopThatWaitsForTheDriveKeepsTheWindowAnsweringAndSaysSo)
{
    FakeFileBackend files;
    std::atomic<bool> held {false};
    std::atomic<bool> released {false};
    files.SetTransferHook([&held, &released] {
        held = true;
        while (!released) {
            std::this_thread::yield();
        }
    });
    m_files = &files;
    OpenDialog();
    Click(id::kAdvanced);
    SelectDrive('T');
    Start(kLongRun);
    ASSERT_TRUE(WaitUntil([&held] { return held.load(); }));

    Click(id::kStop);
    ASSERT_TRUE(WaitUntil([this] { return m_dialog->windowTitle().contains("Waiting for the drive"); }, 10000));
    Click(id::kAsText);  // the window still answers
    EXPECT_TRUE(static_cast<QRadioButton*>(Item(id::kAsText))->isChecked());

    Click(id::kExit);  // the first Exit waits for the run's end
    std::vector<QString> questions;
    SetQuestionHook([&questions](const QString& text) {
        questions.push_back(text);
        return false;
    });
    Click(id::kExit);
    SetQuestionHook({});
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_TRUE(questions[0].contains("Quit anyway?"));
    EXPECT_TRUE(questions[0].contains(QString::fromStdString(m_drive.Path() + "/~kelt00x.tmp")));
    EXPECT_TRUE(m_dialog->isVisible());

    released = true;
    ASSERT_TRUE(WaitUntil([this] { return !m_dialog->isVisible(); }));
    EXPECT_EQ(m_dialog->result(), QDialog::Rejected);
    EXPECT_TRUE(files.ExistingFiles().empty());
    m_dialog.reset();
}

}  // namespace
}  // namespace kel::test
