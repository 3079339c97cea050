// The About box from its button and the title-bar menu, the menu's command
// ids, and Help.

#include "app/AboutDialog.h"
#include "app/MessagePresenter.h"
#include "Version.h"
#include "tests/app/DialogFixture.h"

#include <QAction>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>

namespace kel::test {
namespace {

class CommandsTest : public DialogFixture {
protected:
    void SetUp() override
    {
        DialogFixture::SetUp();
        OpenDialog();
    }
    AboutDialog* OpenAbout() const
    {
        AboutDialog* about = m_dialog->findChild<AboutDialog*>();
        return about != nullptr && about->isVisible() ? about : nullptr;
    }
    // Closes the About box with its OK button and waits until it is gone.
    bool CloseAbout() const
    {
        AboutDialog* about = OpenAbout();
        if (about == nullptr) {
            return false;
        }
        about->findChild<QPushButton*>("id1")->click();
        return WaitUntil([this] { return m_dialog->findChild<AboutDialog*>() == nullptr; });
    }
};

TEST_F(CommandsTest, AboutButtonOpensTheBoxAndOkClosesIt)
{
    Click(id::kAbout);
    AboutDialog* about = OpenAbout();
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->windowTitle(), "About Kel Tallyforge");
    EXPECT_EQ(about->size(), QSize(386, 93));
    // The project's version as major, a point and the minor in two digits:
    // "1.00" for 1.0.0.
    const QStringList version = QString::fromLatin1(kVersion).split('.');
    ASSERT_EQ(version.size(), 3);
    const QString versionLine =
        QStringLiteral("Kel Tallyforge Version %1.%2").arg(version[0], version[1].rightJustified(2, '0'));
    QStringList texts;
    for (const QLabel* label : about->findChildren<QLabel*>()) {
        texts << label->text();
    }
    EXPECT_TRUE(texts.contains(versionLine)) << texts.join('|').toStdString();
    EXPECT_TRUE(texts.contains("License: GPL-3.0-or-later")) << texts.join('|').toStdString();
    EXPECT_TRUE(CloseAbout());
    EXPECT_TRUE(m_dialog->isVisible());
    EXPECT_TRUE(Item(id::kStart)->isEnabled());
}

TEST_F(CommandsTest, MenuEndsWithASeparatorAndTheAboutItem)
{
    std::unique_ptr<QMenu> menu(m_dialog->CreateContextMenu(nullptr));
    const QList<QAction*> actions = menu->actions();
    ASSERT_GE(actions.size(), 2);
    EXPECT_TRUE(actions[actions.size() - 2]->isSeparator());
    EXPECT_EQ(actions.back()->text(), "&About Kel Tallyforge...");
    actions.back()->trigger();
    EXPECT_NE(OpenAbout(), nullptr);
    EXPECT_TRUE(CloseAbout());
}

TEST_F(CommandsTest, CommandIdsSixteenToThirtyOneOpenTheAboutBox)
{
    for (int commandId = 16; commandId <= 31; ++commandId) {
        m_dialog->OnSysCommand(commandId);
        EXPECT_NE(OpenAbout(), nullptr) << commandId;
        EXPECT_TRUE(CloseAbout()) << commandId;
    }
    for (const int other : {0, 15, 32, 0xF010}) {
        m_dialog->OnSysCommand(other);
        EXPECT_EQ(OpenAbout(), nullptr) << other;
        EXPECT_TRUE(m_dialog->isVisible()) << other;
    }
    m_dialog->OnSysCommand(0xF060);  // close
    EXPECT_FALSE(m_dialog->isVisible());
}

TEST_F(CommandsTest, AboutDuringARunLeavesTheRunGoing)
{
    Click(id::kAdvanced);
    SelectDrive('T');
    SetParameters({"1", "4096", "4", "1000", "1000", "10"});
    Click(id::kStart);
    ASSERT_EQ(m_dialog->Tester().IsRunning(), 1);
    Click(id::kAbout);
    ASSERT_NE(OpenAbout(), nullptr);
    ASSERT_TRUE(WaitUntil([this] { return m_dialog->Graph().HasResults() == 1; }));
    EXPECT_EQ(m_dialog->Tester().IsRunning(), 1);
    EXPECT_TRUE(CloseAbout());
    EXPECT_EQ(m_dialog->Tester().IsRunning(), 1);
    Click(id::kStop);
    ASSERT_TRUE(WaitForIdle());
    EXPECT_TRUE(Leftovers().empty());
}

TEST_F(CommandsTest, HelpOpensTheManualInABrowserOrItsOwnWindow)
{
    QUrl opened;
    m_dialog->SetUrlOpener([&opened](const QUrl& url) {
        opened = url;
        return true;
    });
    Click(id::kHelp);
    ASSERT_TRUE(opened.isLocalFile());
    EXPECT_EQ(QFileInfo(opened.toLocalFile()).fileName(), "keltally.html");
    EXPECT_TRUE(QFileInfo::exists(opened.toLocalFile()));
    EXPECT_TRUE(m_messages.empty());

    // No browser: the program's own window shows the manual, once.
    m_dialog->SetUrlOpener([](const QUrl&) { return false; });
    Click(id::kHelp);
    Click(id::kHelp);
    const QList<QTextBrowser*> windows = m_dialog->findChildren<QTextBrowser*>();
    ASSERT_EQ(windows.size(), 1);
    EXPECT_TRUE(windows.front()->isVisible());
    EXPECT_TRUE(windows.front()->toPlainText().contains("The context menu"));
    EXPECT_TRUE(m_messages.empty());
    windows.front()->close();
}

TEST_F(CommandsTest, F1OpensTheHelpLikeTheHelpButton)
{
    int opened = 0;
    m_dialog->SetUrlOpener([&opened](const QUrl&) {
        ++opened;
        return true;
    });
    QTest::keyClick(m_dialog.get(), Qt::Key_F1);
    EXPECT_EQ(opened, 1);
    // Like the button, not during a run.
    Click(id::kAdvanced);
    SelectDrive('T');
    SetParameters({"1", "4096", "4", "1000", "1000", "10"});
    Click(id::kStart);
    QTest::keyClick(m_dialog.get(), Qt::Key_F1);
    Click(id::kStop);
    EXPECT_EQ(opened, 1);
}

// A box stands centred over the dialog, wide enough for its whole title,
// with a plain OK button.
TEST_F(CommandsTest, MessageBoxesAreCentredWithTheirWholeTitleAndAPlainButton)
{
    const MessageHook hook = SetMessageHook({});
    for (const char* text : {"OK.", "File size must be a multiple of the buffer size."}) {
        const QPointer<QMessageBox> box = ShowMessage(m_dialog.get(), QString::fromLatin1(text), kPlainBox);
        ASSERT_TRUE(box);
        ASSERT_TRUE(WaitUntil([&box] { return box->isVisible(); }));
        const QPoint offset = box->frameGeometry().center() - m_dialog->frameGeometry().center();
        EXPECT_LE(offset.manhattanLength(), 2) << text;
        EXPECT_EQ(box->windowTitle(), "Kel Tallyforge");
        QFont bold = box->font();
        bold.setBold(true);
        EXPECT_GE(box->width(), 2 * QFontMetrics(bold).horizontalAdvance(box->windowTitle())) << text;
        EXPECT_TRUE(box->button(QMessageBox::Ok)->icon().isNull());
        box->button(QMessageBox::Ok)->click();
        EXPECT_TRUE(WaitUntil([&box] { return box.isNull(); }));
    }
    SetMessageHook(hook);
}

}  // namespace
}  // namespace kel::test
