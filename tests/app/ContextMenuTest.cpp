// The context menu: the graph's scale, kept in the settings file, Save and
// Copy Results, and the keys that open the menu.

#include "app/SavedResults.h"
#include "settings/ProfileFile.h"
#include "tests/app/DialogFixture.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMenu>
#include <QRegularExpression>
#include <QTest>

#include <memory>

namespace kel::test {
namespace {

const QString kAutomaticScaleItem = QStringLiteral("Graph Scale &Automatic (0 to 20 MB/s While the Results Fit)");
const QString kDefaultScaleItem = QStringLiteral("Graph Scale 0 to &20 MB/s");
const QString kFittedScaleItem = QStringLiteral("Graph Scale &Fitted to the Results");
const QString kCopyItem = QStringLiteral("Co&py Results");
const QString kSaveItem = QStringLiteral("&Save Results...");

class ContextMenuTest : public DialogFixture {
protected:
    QString SettingsPath() const { return QString::fromStdString(m_config.Path()) + "/KelTally.ini"; }
    QByteArray Settings() const
    {
        QFile file(SettingsPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    std::string ScaleKey() const
    {
        return ProfileFile(SettingsPath().toStdString()).GetProfileString("Application", "GraphScale", "(none)", 40);
    }
    // The menu as the dialog would show it now.
    std::unique_ptr<QMenu> Menu() const { return std::unique_ptr<QMenu>(m_dialog->CreateContextMenu(nullptr)); }
    static QAction* Find(const QMenu& menu, const QString& text)
    {
        for (QAction* action : menu.actions()) {
            if (action->text() == text) {
                return action;
            }
        }
        return nullptr;
    }
    // The scale items of the menu, the checked one marked with a '*'.
    QStringList ScaleItems() const
    {
        QStringList items;
        const std::unique_ptr<QMenu> menu = Menu();
        for (const QAction* action : menu->actions()) {
            if (action->actionGroup() != nullptr) {
                items << (action->isChecked() ? "*" : "") + action->text();
            }
        }
        return items;
    }
    void Choose(const QString& text) const
    {
        const std::unique_ptr<QMenu> menu = Menu();
        QAction* action = Find(*menu, text);
        ASSERT_NE(action, nullptr) << text.toStdString();
        action->trigger();
    }
};

TEST_F(ContextMenuTest, ScaleChoiceIsReadAtStartAndWrittenOnlyWhenChanged)
{
    const struct {
        const char* line;  // under [Application]; null: no key
        GraphScale scale;
        QStringList items;
    } starts[] = {
        {nullptr, DefaultGraphScale(), {"*" + kAutomaticScaleItem, kDefaultScaleItem, kFittedScaleItem}},
        {"GraphScale=auto", FittedGraphScale(), {kAutomaticScaleItem, kDefaultScaleItem, "*" + kFittedScaleItem}},
        {"GraphScale=20", FixedGraphScale(20), {kAutomaticScaleItem, "*" + kDefaultScaleItem, kFittedScaleItem}},
        {"GraphScale=100", FixedGraphScale(100),
         {kAutomaticScaleItem, kDefaultScaleItem, kFittedScaleItem, "*Graph Scale 0 to 100 MB/s"}},
        {"GraphScale=fast", DefaultGraphScale(), {"*" + kAutomaticScaleItem, kDefaultScaleItem, kFittedScaleItem}},
    };
    for (const auto& start : starts) {
        SCOPED_TRACE(start.line != nullptr ? start.line : "no key");
        m_dialog.reset();
        QFile::remove(SettingsPath());
        if (start.line != nullptr) {
            QFile file(SettingsPath());
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(QByteArray("[Application]\n") + start.line + "\n");
        }
        OpenDialog();
        EXPECT_EQ(m_dialog->Graph().Scale(), start.scale);
        EXPECT_EQ(ScaleItems(), start.items);
        // Choosing the scale shown writes nothing.
        const QByteArray opened = Settings();
        const std::unique_ptr<QMenu> menu = Menu();
        for (QAction* action : menu->actions()) {
            if (action->isChecked()) {
                action->trigger();
            }
        }
        EXPECT_EQ(Settings(), opened);
    }

    // Picking another scale shows it at once and keeps it, in place of the
    // old value, for the next start.
    Choose(kFittedScaleItem);
    EXPECT_EQ(m_dialog->Graph().Scale(), FittedGraphScale());
    EXPECT_EQ(ScaleKey(), "auto");
    Choose(kDefaultScaleItem);
    EXPECT_EQ(m_dialog->Graph().Scale(), FixedGraphScale(20));
    EXPECT_EQ(ScaleKey(), "20");
    Choose(kAutomaticScaleItem);
    EXPECT_EQ(m_dialog->Graph().Scale(), DefaultGraphScale());
    EXPECT_EQ(ScaleKey(), "default");
    EXPECT_EQ(Settings().count("GraphScale="), 1);
    Choose(kFittedScaleItem);
    m_dialog.reset();
    OpenDialog();
    EXPECT_EQ(m_dialog->Graph().Scale(), FittedGraphScale());
}

TEST_F(ContextMenuTest, CopyResultsOnceAPassIsDrawn)
{
    OpenDialog();
    QApplication::clipboard()->setText("before");
    EXPECT_FALSE(Find(*Menu(), kCopyItem)->isEnabled());
    m_dialog->OnCopyResults();
    EXPECT_EQ(QApplication::clipboard()->text(), "before");

    Click(id::kAdvanced);
    SelectDrive('T');
    SetParameters({"1", "96", "96", "2", "2", "10"});
    Click(id::kStart);
    ASSERT_TRUE(WaitForIdle());
    ASSERT_TRUE(m_messages.empty());
    const std::unique_ptr<QMenu> menu = Menu();
    QAction* copy = Find(*menu, kCopyItem);
    ASSERT_TRUE(copy->isEnabled());
    copy->trigger();
    // A header names the drive, the start, the parameters and how the files
    // were reached; the text view's values follow.
    const QString copied = QApplication::clipboard()->text();
    ASSERT_TRUE(copied.endsWith("\n\n" + m_dialog->Graph().ResultsText())) << copied.toStdString();
    EXPECT_TRUE(copied.startsWith("Kel Tallyforge results\nDrive: T: " + QString::fromStdString(m_drive.Path())))
        << copied.toStdString();
    EXPECT_TRUE(copied.contains("\nParameters: 1 file of 96 KB, 96 KB transfers, 2 write passes, 2 read passes"));
    EXPECT_TRUE(copied.contains("\nFiles reached: ")) << copied.toStdString();
    const QStringList lines = m_dialog->Graph().ResultsText().split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 10);
    EXPECT_EQ(lines[0], "Play Performance:");
    EXPECT_EQ(lines[5], "Record Performance:");
    for (const int row : {1, 2, 3, 6, 7, 8}) {
        EXPECT_TRUE(lines[row].endsWith(" MB/s")) << lines[row].toStdString();
    }
    for (const int row : {4, 9}) {
        EXPECT_TRUE(lines[row].startsWith("Stall ")) << lines[row].toStdString();
    }
}

TEST_F(ContextMenuTest, SaveResultsKeepsTheRecordAndBothPicturesOfAFinishedRun)
{
    OpenDialog();
    EXPECT_FALSE(Find(*Menu(), kSaveItem)->isEnabled());
    Click(id::kAdvanced);
    SelectDrive('T');
    SetParameters({"2", "96", "96", "3", "2", "10"});
    Click(id::kStart);
    ASSERT_TRUE(WaitForIdle());
    ASSERT_TRUE(m_messages.empty());

    // The item asks for a name first.
    Find(*Menu(), kSaveItem)->trigger();
    QFileDialog* chooser = m_dialog->findChild<QFileDialog*>();
    ASSERT_NE(chooser, nullptr);
    EXPECT_TRUE(QRegularExpression("^keltally-\\d{4}-\\d\\d-\\d\\d-\\d{4}-T\\.json$")
                    .match(QFileInfo(chooser->selectedFiles().value(0)).fileName())
                    .hasMatch())
        << chooser->selectedFiles().value(0).toStdString();
    chooser->reject();

    TempDir out;
    const QString path = QString::fromStdString(out.Path()) + "/run.json";
    ASSERT_TRUE(m_dialog->SaveResults(path));
    // The chooser proposed a name from the date and the drive; the message
    // names the files written and their folder.
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0].text, "The results were saved in " + QString::fromStdString(out.Path()) +
                                      ":\n\nrun.json (the run record)\nrun-graph.png (the graph)\n"
                                      "run-text.png (the text)");
    m_messages.clear();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QJsonObject record = QJsonDocument::fromJson(file.readAll()).object();
    EXPECT_EQ(record["schema"].toInt(), 1);
    EXPECT_EQ(record["program"].toString(), "keltally");
    EXPECT_EQ(record["result"].toString(), "complete");
    EXPECT_EQ(record["parameters"].toObject()["files"].toInt(), 2);
    EXPECT_EQ(record["parameters"].toObject()["directory"].toString(), QString::fromStdString(m_drive.Path()));
    EXPECT_EQ(record["passes"].toArray().size(), 5);
    EXPECT_EQ(QImage(GraphPicturePath(path)), m_dialog->Graph().GraphImage());
    EXPECT_EQ(QImage(TextPicturePath(path)), m_dialog->Graph().TextImage());

    // A folder that cannot take the files is told, and nothing is claimed.
    EXPECT_FALSE(m_dialog->SaveResults(QString::fromStdString(out.Path()) + "/missing/run.json"));
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_TRUE(m_messages[0].text.startsWith("Unable to save the results.")) << m_messages[0].text.toStdString();
}

TEST_F(ContextMenuTest, ASavedRecordOpensAsTheRunDrewItAndComparesBeneath)
{
    OpenDialog();
    Click(id::kAdvanced);
    SelectDrive('T');
    SetParameters({"2", "96", "96", "3", "2", "10"});
    Click(id::kStart);
    ASSERT_TRUE(WaitForIdle());
    TempDir out;
    const QString path = QString::fromStdString(out.Path()) + "/run.json";
    ASSERT_TRUE(m_dialog->SaveResults(path));
    m_messages.clear();  // what the save wrote
    const QImage graph = m_dialog->Graph().GraphImage();
    const QImage text = m_dialog->Graph().TextImage();

    // The item asks for a record first.
    Find(*Menu(), QStringLiteral("&Open Results..."))->trigger();
    QFileDialog* chooser = m_dialog->findChild<QFileDialog*>();
    ASSERT_NE(chooser, nullptr);
    chooser->reject();

    ASSERT_TRUE(m_dialog->OpenResults(path));
    EXPECT_EQ(m_dialog->Graph().GraphImage(), graph);
    EXPECT_EQ(m_dialog->Graph().TextImage(), text);
    EXPECT_TRUE(m_dialog->windowTitle().contains(" - run.json (")) << m_dialog->windowTitle().toStdString();
    EXPECT_FALSE(Find(*Menu(), kSaveItem)->isEnabled());  // the view no longer shows the last run alone

    ASSERT_TRUE(m_dialog->OpenResults(path, true));
    const QImage compared = m_dialog->Graph().GraphImage();
    EXPECT_NE(compared, graph);
    EXPECT_EQ(m_dialog->Graph().TextImage(), text);

    QFile broken(QString::fromStdString(out.Path()) + "/broken.json");
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly) && broken.write("{\"passes\": 1}") > 0);
    broken.close();
    EXPECT_FALSE(m_dialog->OpenResults(broken.fileName()));
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_TRUE(m_messages[0].text.startsWith("Unable to open the results.\n\nbroken.json is refused: "))
        << m_messages[0].text.toStdString();
}

TEST_F(ContextMenuTest, VerifyDataIsKeptInTheSettingsFileAndGivenToTheNextRun)
{
    const QString verifyItem = QStringLiteral("&Verify Data");
    for (const auto& [line, checked] : {std::pair {"", false}, {"VerifyData=1", true}, {"VerifyData=0", false}}) {
        m_dialog.reset();
        QFile file(SettingsPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("[Application]\n") + line + "\n");
        file.close();
        OpenDialog();
        EXPECT_EQ(Find(*Menu(), verifyItem)->isChecked(), checked) << line;
    }
    Choose(verifyItem);
    EXPECT_EQ(ProfileFile(SettingsPath().toStdString()).GetProfileInt("Application", "VerifyData", -1), 1);
    Click(id::kAdvanced);
    SelectDrive('T');
    SetParameters({"1", "96", "96", "1", "1", "10"});
    Click(id::kStart);
    ASSERT_TRUE(WaitForIdle());
    ASSERT_TRUE(m_messages.empty());
    EXPECT_TRUE(m_dialog->Tester().Options().verify);
    EXPECT_EQ(m_dialog->Tester().Outcome().figures.bytesVerified, 96u * 1024);
    Choose(verifyItem);
    EXPECT_EQ(ProfileFile(SettingsPath().toStdString()).GetProfileInt("Application", "VerifyData", -1), 0);
}

TEST_F(ContextMenuTest, ShiftF10AndTheMenuKeyOpenTheMenu)
{
    OpenDialog();
    for (const auto& [key, modifiers] : {std::pair {Qt::Key_F10, Qt::ShiftModifier},
                                         std::pair {Qt::Key_Menu, Qt::NoModifier}}) {
        QTest::keyClick(m_dialog.get(), key, modifiers);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr) << key;
        EXPECT_NE(Find(*menu, kCopyItem), nullptr);
        EXPECT_EQ(menu->actions().back()->text(), "&About Kel Tallyforge...");
        menu->close();
        EXPECT_TRUE(WaitUntil([] { return QApplication::activePopupWidget() == nullptr; }));
    }
}

}  // namespace
}  // namespace kel::test
