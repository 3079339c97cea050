// Data exchange and run control of the main dialog.

#include "app/DataExchange.h"
#include "app/DialogLayout.h"
#include "app/MessagePresenter.h"
#include "app/PerfDialog.h"
#include "view/QueuedCall.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>

#include <thread>

namespace kel {

namespace {

// The queued form of the engine's window message.
class WindowMessageEvent : public QEvent {
public:
    static QEvent::Type EventType()
    {
        static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
        return type;
    }
    explicit WindowMessageEvent(std::uint32_t message) : QEvent(EventType()), m_message(message) {}
    std::uint32_t Message() const { return m_message; }

private:
    std::uint32_t m_message;
};

}  // namespace

void PerfDialog::PostWindowMessage(std::uint32_t message, std::intptr_t, std::intptr_t)
{
    auto* event = new WindowMessageEvent(message);
    MarkPosted();
    QCoreApplication::postEvent(this, event);
}

bool PerfDialog::event(QEvent* e)
{
    MarkReceived();
    if (e->type() == WindowMessageEvent::EventType()) {
        if (static_cast<WindowMessageEvent*>(e)->Message() == WM_TEST_FINISHED) {
            OnTestFinished();
        }
        return true;
    }
    return QDialog::event(e);
}

bool PerfDialog::UpdateData(bool save)
{
    // In exchange order; a refusal ends the exchange at that field.
    const struct {
        int controlId;
        int* field;
        int minimum;
        int maximum;
    } fields[] = {
        {id::kNumFiles, &m_numFiles, 1, 100},   {id::kFileSize, &m_fileSizeKB, 1, 102400},
        {id::kBufSize, &m_bufSizeKB, 1, 1024},  {id::kReadReps, &m_readReps, 1, 1000},
        {id::kWriteReps, &m_writeReps, 1, 1000}, {id::kSampsSec, &m_sampsSec, 0, 200},
    };
    for (const auto& exchanged : fields) {
        auto* edit = static_cast<QLineEdit*>(Control(exchanged.controlId));
        if (!save) {
            edit->setText(QString::number(*exchanged.field));
            continue;
        }
        const FieldCheck check = CheckIntegerField(edit->text(), exchanged.minimum, exchanged.maximum);
        if (!check.accepted) {
            edit->setFocus(Qt::OtherFocusReason);
            edit->selectAll();
            ShowMessage(this, check.message, kPlainBox);
            return false;
        }
        *exchanged.field = check.value;
    }
    return true;
}

void PerfDialog::OnStart()
{
    if (!UpdateData(true)) {
        return;
    }
    if (m_fileSizeKB % m_bufSizeKB != 0) {
        SetFocusTo(id::kFileSize);
        ShowMessage(this, QStringLiteral("File size must be a multiple of the buffer size."), kPlainBox);
        return;
    }
    const int item = m_driveList->currentIndex();
    if (item < 0) {
        m_driveList->setFocus(Qt::OtherFocusReason);
        ShowMessage(this, QStringLiteral("Please choose the drive to test from the Drive list."), kPlainBox);
        return;
    }
    const int driveLetter = m_driveList->itemData(item).toInt() & 0xFF;
    if (CheckDrive(driveLetter) == 0) {
        return;
    }
    EnableControls(0);
    SetFocusTo(id::kStop);
    const int simultaneous = IsChecked(id::kSimultaneous);
    m_tester.SetParameters(driveLetter, m_numFiles, m_fileSizeKB, m_bufSizeKB, m_readReps, m_writeReps, m_sampsSec,
                           m_minRead, m_minWrite, simultaneous, this, &m_graph);
    m_tester.Start();
}

void PerfDialog::OnStop()
{
    m_tester.Stop();
    while (m_tester.IsRunning() != 0) {
        std::this_thread::yield();
    }
    EnableControls(1);
    SetFocusTo(id::kStart);
}

void PerfDialog::reject()
{
    if (m_tester.IsRunning() != 0) {
        OnStop();
    }
    QDialog::reject();
}

void PerfDialog::OnTestFinished()
{
    EnableControls(1);
    SetFocusTo(id::kStart);
}

void PerfDialog::EnableControls(int idle)
{
    const bool running = idle == 0;
    const bool edits = !running && m_advanced != 0;
    const struct {
        int controlId;
        bool enabled;
    } states[] = {
        {id::kPresetLabel, !running},    {id::kPresetList, !running},     {id::kDriveLabel, !running},
        {id::kDriveList, !running},      {id::kDisplayLabel, true},       {id::kAsGraph, true},
        {id::kAsText, true},             {id::kHelp, !running},           {id::kAbout, true},
        {id::kExit, true},               {id::kAdvanced, !running},       {id::kStart, !running},
        {id::kStop, running},            {id::kParameters, !running},     {id::kSampsSecLabel, !running},
        {id::kSampsSec, edits},          {id::kNumFilesLabel, !running},  {id::kNumFiles, edits},
        {id::kFileSizeLabel, !running},  {id::kFileSize, edits},          {id::kBufSizeLabel, !running},
        {id::kBufSize, edits},           {id::kReadRepsLabel, !running},  {id::kReadReps, edits},
        {id::kWriteRepsLabel, !running}, {id::kWriteReps, edits},
    };
    for (const auto& state : states) {
        SetEnabled(state.controlId, state.enabled);
    }
}

}  // namespace kel
