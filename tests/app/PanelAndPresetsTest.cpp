// The parameter panel's collapsed and expanded states, the presets from the
// settings file and the drive list.

#include "app/AboutDialog.h"
#include "platform/DriveTable.h"
#include "tests/app/DialogFixture.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

namespace kel::test {
namespace {

const int kEdits[] = {id::kSampsSec, id::kNumFiles, id::kFileSize, id::kBufSize,
                      id::kReadReps, id::kWriteReps, id::kMinRead,  id::kMinWrite};

using PanelTest = DialogFixture;

TEST_F(PanelTest, AdvancedCollapsesAndExpandsThePanel)
{
    OpenDialog();
    // 290 dialog units high; the 69-unit group box is 112 pixels, and the
    // collapsed window loses those and a further 112 / 18 pixels.
    const int fullHeight = 471;
    const int collapsedHeight = fullHeight - 112 - 6;
    const auto expectState = [this](const char* caption, bool expanded, int height) {
        EXPECT_EQ(TextOf(id::kAdvanced), QString::fromLatin1(caption));
        EXPECT_EQ(m_dialog->height(), height);
        EXPECT_EQ(Item(id::kParameters)->isVisible(), expanded);
        for (const int edit : kEdits) {
            EXPECT_EQ(Item(edit)->isEnabled(), expanded) << edit;
        }
    };
    EXPECT_EQ(m_dialog->FullHeight(), fullHeight);
    expectState("&Advanced >>", false, collapsedHeight);
    Click(id::kAdvanced);
    expectState("Ad&vanced <<", true, fullHeight);
    Click(id::kAdvanced);
    expectState("Ad&vanced >>", false, collapsedHeight);
    Click(id::kAdvanced);
    expectState("Ad&vanced <<", true, fullHeight);
}

TEST_F(PanelTest, SimultaneousOptionSwapsTheRepetitionFields)
{
    OpenDialog();
    Click(id::kAdvanced);
    // The option is hidden in this dialog; a build that offers it shows it.
    Item(id::kSimultaneous)->setVisible(true);
    Item(id::kSimultaneous)->setEnabled(true);
    const auto shown = [this](int controlId) { return Item(controlId)->isVisibleTo(m_dialog.get()); };
    Click(id::kSimultaneous);
    EXPECT_FALSE(shown(id::kReadRepsLabel));
    EXPECT_FALSE(shown(id::kWriteRepsLabel));
    EXPECT_FALSE(shown(id::kWriteReps));
    EXPECT_TRUE(shown(id::kReadReps));
    EXPECT_TRUE(shown(id::kRepsLabel));
    Click(id::kSimultaneous);
    EXPECT_TRUE(shown(id::kReadRepsLabel));
    EXPECT_TRUE(shown(id::kWriteRepsLabel));
    EXPECT_TRUE(shown(id::kWriteReps));
    EXPECT_FALSE(shown(id::kRepsLabel));
}

TEST_F(PanelTest, EveryLabelShowsItsWholeText)
{
    OpenDialog();
    Click(id::kAdvanced);
    m_dialog->OnSysCommand(16);
    auto* about = m_dialog->findChild<AboutDialog*>();
    ASSERT_NE(about, nullptr);
    for (QWidget* window : {static_cast<QWidget*>(m_dialog.get()), static_cast<QWidget*>(about)}) {
        for (QLabel* label : window->findChildren<QLabel*>()) {
            EXPECT_GE(label->width(), label->sizeHint().width()) << label->text().toStdString();
            if (label->isVisibleTo(window)) {  // the simultaneous mode's label never shows
                EXPECT_TRUE(window->rect().contains(label->geometry())) << label->text().toStdString();
            }
        }
    }
}

TEST_F(PanelTest, TabOrderAndMnemonicsFollowTheLayout)
{
    OpenDialog();
    Click(id::kAdvanced);
    std::vector<QString> chain;
    for (QWidget* w = m_dialog->nextInFocusChain(); w != m_dialog.get(); w = w->nextInFocusChain()) {
        if ((w->focusPolicy() & Qt::TabFocus) != 0 && w->isEnabled() && w->isVisibleTo(m_dialog.get()) &&
            w->objectName().startsWith("id")) {
            chain.push_back(w->objectName());
        }
    }
    // The display buttons are one stop: the checked one.
    const std::vector<QString> expected {"id1016", "id1011", "id1023", "id1037", "id1022", "id1038", "id1021",
                                         "id2",    "id1035", "id1013", "id1014", "id1012", "id1017", "id1018",
                                         "id1041", "id1043"};
    EXPECT_EQ(chain, expected);
    QTest::mouseClick(Item(id::kAsText), Qt::LeftButton);
    EXPECT_EQ(Item(id::kAsText)->focusPolicy(), Qt::StrongFocus);
    EXPECT_EQ(Item(id::kAsGraph)->focusPolicy(), Qt::ClickFocus);
    // Open, the panel's Alt+B leads to Buffer Size, not to About.
    QTest::keyClick(m_dialog.get(), Qt::Key_B, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), Item(id::kBufSize));

    QTest::keyClick(m_dialog.get(), Qt::Key_F, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), Item(id::kFileSize));
    QTest::keyClick(m_dialog.get(), Qt::Key_D, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), Item(id::kDriveList));
}

// Collapsed, the panel's labels lie outside the window: their letters belong
// to the visible controls alone ("&Buffer Size" would otherwise make Alt+B
// only focus "A&bout...").
TEST_F(PanelTest, CollapsedPanelLabelsTakeNoPartInMnemonics)
{
    OpenDialog();
    QWidget* before = QApplication::focusWidget();
    QTest::keyClick(m_dialog.get(), Qt::Key_F, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), before);
    QTest::keyClick(m_dialog.get(), Qt::Key_B, Qt::AltModifier);
    ASSERT_TRUE(WaitUntil([this] { return m_dialog->findChild<AboutDialog*>() != nullptr; }));
    m_dialog->findChild<AboutDialog*>()->close();
    ASSERT_TRUE(WaitUntil([this] { return m_dialog->findChild<AboutDialog*>() == nullptr; }));
    m_dialog->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_dialog.get()));

    Click(id::kAdvanced);
    QTest::keyClick(m_dialog.get(), Qt::Key_F, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), Item(id::kFileSize));
    Click(id::kAdvanced);
    QTest::keyClick(m_dialog.get(), Qt::Key_W, Qt::AltModifier);
    EXPECT_NE(QApplication::focusWidget(), Item(id::kWriteReps));
}

TEST_F(PanelTest, EveryControlHasAnAccessibleName)
{
    OpenDialog();
    Click(id::kAdvanced);
    for (const QWidget* control : m_dialog->findChildren<QWidget*>()) {
        if (!control->objectName().startsWith("id")) {
            continue;
        }
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(const_cast<QWidget*>(control));
        ASSERT_NE(accessible, nullptr) << control->objectName().toStdString();
        EXPECT_FALSE(accessible->text(QAccessible::Name).isEmpty()) << control->objectName().toStdString();
    }
    EXPECT_EQ(Item(id::kFileSize)->accessibleName(), "File size (KB)");
    EXPECT_EQ(Item(id::kDriveList)->accessibleName(), "Drive");
    QAccessibleInterface* results = QAccessible::queryAccessibleInterface(Item(id::kResults));
    EXPECT_EQ(results->text(QAccessible::Description), m_dialog->Graph().ResultsText());
}

class PresetsTest : public DialogFixture {
protected:
    QString SettingsPath() const { return QString::fromStdString(m_config.Path()) + "/KelTally.ini"; }
    void WriteSettings(const QByteArray& content)
    {
        QFile file(SettingsPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    QStringList Edits() const
    {
        QStringList texts;
        for (const int edit : {id::kNumFiles, id::kFileSize, id::kBufSize, id::kReadReps, id::kWriteReps,
                               id::kSampsSec}) {
            texts << TextOf(edit);
        }
        return texts;
    }
    QComboBox* Presets() const { return static_cast<QComboBox*>(Item(id::kPresetList)); }
};

TEST_F(PresetsTest, WithoutASettingsFileTheDefaultPresetIsAppliedAndWritten)
{
    OpenDialog();
    ASSERT_EQ(Presets()->count(), 1);
    EXPECT_EQ(Presets()->currentText(), "(Default)");
    EXPECT_EQ(Edits(), QStringList({"1", "2400", "96", "30", "30", "10"}));
    QFile file(SettingsPath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray content = file.readAll();
    EXPECT_TRUE(content.contains("Presets=1"));
    EXPECT_TRUE(content.contains("Name=(Default)"));
}

TEST_F(PresetsTest, ListIsSortedAndAPickedPresetDrivesTheNextRun)
{
    WriteSettings("[Application]\nPresets=2\n"
                  "[Preset1]\nName=Zeta\nNumFiles=1\nFileSize=96\nBufSize=96\nReadReps=2\nWriteReps=2\nSampsSec=10\n"
                  "[Preset2]\nName=Alpha\nNumFiles=3\nFileSize=300\nBufSize=100\nReadReps=4\nWriteReps=5\n"
                  "SampsSec=6\n");
    OpenDialog();
    ASSERT_EQ(Presets()->count(), 3);
    EXPECT_EQ(Presets()->itemText(0), "(Default)");
    EXPECT_EQ(Presets()->itemText(1), "Alpha");
    EXPECT_EQ(Presets()->itemText(2), "Zeta");
    EXPECT_EQ(Edits(), QStringList({"1", "2400", "96", "30", "30", "10"}));

    Presets()->setCurrentIndex(1);
    emit Presets()->activated(1);
    EXPECT_EQ(Edits(), QStringList({"3", "300", "100", "4", "5", "6"}));

    // With the panel collapsed the preset is the way to set the parameters.
    ASSERT_EQ(m_dialog->IsAdvanced(), 0);
    Presets()->setCurrentIndex(2);
    emit Presets()->activated(2);
    SelectDrive('T');
    Click(id::kStart);
    ASSERT_TRUE(m_messages.empty());
    ASSERT_TRUE(WaitForIdle());
    EXPECT_EQ(m_dialog->Graph().HasResults(), 1);
    EXPECT_TRUE(Leftovers().empty());
}

// A preset's value that Start refuses sits in a field of the collapsed panel:
// the panel opens so the user sees the field the message is about.
TEST_F(PresetsTest, ARefusedPresetValueOpensThePanelAtItsField)
{
    const struct {
        const char* values;
        int field;
        const char* message;
    } cases[] = {
        {"NumFiles=500\nFileSize=96\nBufSize=96\n", id::kNumFiles, "Please enter an integer between 1 and 100."},
        {"NumFiles=1\nFileSize=100\nBufSize=64\n", id::kFileSize, "File size must be a multiple of the buffer size."},
    };
    for (const auto& c : cases) {
        m_dialog.reset();
        m_messages.clear();
        WriteSettings(QByteArray("[Application]\nPresets=1\n[Preset1]\nName=Bad\nReadReps=1\nWriteReps=1\n") +
                      c.values);
        OpenDialog();
        Presets()->setCurrentIndex(Presets()->findText("Bad"));
        emit Presets()->activated(Presets()->currentIndex());
        SelectDrive('T');
        ASSERT_EQ(m_dialog->IsAdvanced(), 0);
        Click(id::kStart);
        ASSERT_EQ(m_messages.size(), 1u);
        EXPECT_EQ(m_messages.front().text, c.message);
        EXPECT_EQ(m_dialog->IsAdvanced(), 1);
        EXPECT_EQ(TextOf(id::kAdvanced), "Ad&vanced <<");
        EXPECT_EQ(QApplication::focusWidget(), Item(c.field));
        EXPECT_TRUE(m_dialog->rect().contains(Item(c.field)->geometry()));
        EXPECT_EQ(m_dialog->Tester().IsRunning(), 0);
    }
}

// Opened, a list shows at most 16 rows and scrolls, and is wide enough for
// its longest text; closed, its tooltip is the whole chosen text.
TEST_F(PresetsTest, DropDownsShowSixteenRowsAndTheirWholeTexts)
{
    QByteArray settings = "[Application]\nPresets=20\n";
    for (int i = 1; i <= 20; ++i) {
        settings += QStringLiteral("[Preset%1]\nName=Preset %1 with a name longer than the list\n").arg(i).toLatin1();
    }
    WriteSettings(settings);
    OpenDialog();
    for (const int listId : {id::kPresetList, id::kDriveList}) {
        auto* list = static_cast<QComboBox*>(Item(listId));
        EXPECT_EQ(list->toolTip(), list->currentText()) << listId;
        int longest = 0;
        for (int i = 0; i < list->count(); ++i) {
            longest = std::max(longest, list->view()->fontMetrics().horizontalAdvance(list->itemText(i)));
        }
        EXPECT_GT(longest, list->width()) << listId << ": the closed list cuts its text";
        list->showPopup();
        QAbstractItemView* view = list->view();
        ASSERT_TRUE(WaitUntil([view] { return view->isVisible(); })) << listId;
        EXPECT_GE(view->viewport()->width(), longest) << listId;
        const int viewHeight = view->viewport()->height();
        if (list->count() > 16) {
            EXPECT_LE(view->visualRect(list->model()->index(15, 0)).bottom(), viewHeight) << "row 16 shows";
            EXPECT_GE(view->visualRect(list->model()->index(16, 0)).top(), viewHeight) << "row 17 does not";
            EXPECT_TRUE(view->verticalScrollBar()->isVisible());
        } else {
            EXPECT_LE(view->visualRect(list->model()->index(list->count() - 1, 0)).bottom(), viewHeight);
        }
        list->hidePopup();
    }
    auto* presets = Presets();
    presets->setCurrentIndex(presets->count() - 1);
    EXPECT_EQ(presets->toolTip(), presets->itemText(presets->count() - 1));
}

TEST_F(DialogFixture, DriveListShowsEveryDriveAndSelectsC)
{
    TempDir home;
    m_drives.Register('C', home.Path());
    OpenDialog();
    auto* drives = static_cast<QComboBox*>(Item(id::kDriveList));
    ASSERT_EQ(drives->count(), 2);
    EXPECT_TRUE(drives->itemText(0).startsWith("[C]  "));
    EXPECT_TRUE(drives->itemText(1).startsWith("[T]  "));
    EXPECT_EQ(drives->itemData(1).toInt(), 'T');
    EXPECT_EQ(drives->currentIndex(), 0);
}

}  // namespace
}  // namespace kel::test
