#include "tests/app/DialogFixture.h"

#include "app/MessagePresenter.h"
#include "platform/DriveTable.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTest>

namespace kel::test {

bool WaitUntil(const std::function<bool()>& done, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < timeoutMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QCoreApplication::sendPostedEvents();
    }
    return done();
}

void DialogFixture::SetUp()
{
    ASSERT_FALSE(m_drive.Path().empty());
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(m_config.Path()));
    // No package presets unless a test writes this file.
    qputenv("KELTALLY_PRESETS_FILE", QByteArray::fromStdString(m_config.Path() + "/shipped-presets.ini"));
    m_drives.Register('T', m_drive.Path());
    SetMessageHook([this](const QString& text, unsigned type) { m_messages.push_back({text, type}); });
    SetQuestionHook([this](const QString& text) {
        m_questions << text;
        return m_answer;
    });
}

void DialogFixture::TearDown()
{
    m_dialog.reset();
    SetMessageHook({});
    SetQuestionHook({});
}

void DialogFixture::OpenDialog()
{
    PlatformServices services = DefaultPlatformServices();
    services.messages = nullptr;
    services.drives = &m_drives;
    if (m_files != nullptr) {
        services.files = m_files;
    }
    m_dialog = std::make_unique<PerfDialog>(services);
    m_dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_dialog.get()));
    m_dialog->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_dialog.get()));
}

QWidget* DialogFixture::Item(int controlId) const
{
    QWidget* control = m_dialog->findChild<QWidget*>(QStringLiteral("id%1").arg(controlId));
    EXPECT_NE(control, nullptr) << "no control " << controlId;
    return control;
}

QString DialogFixture::TextOf(int controlId) const
{
    if (auto* edit = qobject_cast<QLineEdit*>(Item(controlId))) {
        return edit->text();
    }
    if (auto* list = qobject_cast<QComboBox*>(Item(controlId))) {
        return list->currentText();
    }
    return static_cast<QAbstractButton*>(Item(controlId))->text();
}

void DialogFixture::SetEdit(int controlId, const QString& text)
{
    static_cast<QLineEdit*>(Item(controlId))->setText(text);
}

void DialogFixture::SetParameters(const std::vector<QString>& values)
{
    const int edits[] = {id::kNumFiles, id::kFileSize, id::kBufSize, id::kReadReps, id::kWriteReps, id::kSampsSec};
    for (std::size_t i = 0; i < values.size() && i < std::size(edits); ++i) {
        SetEdit(edits[i], values[i]);
    }
}

void DialogFixture::Click(int controlId)
{
    QTest::mouseClick(Item(controlId), Qt::LeftButton);
}

void DialogFixture::SelectDrive(char letter)
{
    auto* list = static_cast<QComboBox*>(Item(id::kDriveList));
    list->setCurrentIndex(list->findData(static_cast<int>(letter)));
}

bool DialogFixture::WaitForIdle() const
{
    return WaitUntil([this] { return m_dialog->Tester().IsRunning() == 0 && Item(id::kStart)->isEnabled(); });
}

std::vector<int> DialogFixture::EnabledRunControls() const
{
    const int controls[] = {id::kPresetLabel,   id::kPresetList,     id::kDriveLabel,     id::kDriveList,
                            id::kDisplayLabel,  id::kAsGraph,        id::kAsText,         id::kHelp,
                            id::kAbout,         id::kExit,           id::kAdvanced,       id::kStart,
                            id::kStop,          id::kParameters,     id::kSampsSecLabel,  id::kSampsSec,
                            id::kNumFilesLabel, id::kNumFiles,       id::kFileSizeLabel,  id::kFileSize,
                            id::kBufSizeLabel,  id::kBufSize,        id::kReadRepsLabel,  id::kReadReps,
                            id::kWriteRepsLabel, id::kWriteReps,     id::kMinReadLabel,   id::kMinRead,
                            id::kMinWriteLabel, id::kMinWrite};
    std::vector<int> enabled;
    for (const int controlId : controls) {
        if (Item(controlId)->isEnabled()) {
            enabled.push_back(controlId);
        }
    }
    return enabled;
}

}  // namespace kel::test
