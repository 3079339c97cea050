// Data exchange and run control of the main dialog.

#include "app/DataExchange.h"
#include "app/DialogLayout.h"
#include "app/MessagePresenter.h"
#include "app/PerfDialog.h"
#include "app/RunExitGuard.h"
#include "app/RunProgressTitle.h"
#include "app/SavedResults.h"
#include "platform/DriveTable.h"
#include "view/QueuedCall.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

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
    // In exchange order, which is the parameter table's; a refusal ends the
    // exchange at that field.
    const struct {
        QLineEdit* edit;
        std::int32_t RunParameters::*field;
    } fields[] = {
        {m_numFilesEdit, &RunParameters::numFiles},   {m_fileSizeEdit, &RunParameters::fileSizeKB},
        {m_bufSizeEdit, &RunParameters::bufSizeKB},   {m_readRepsEdit, &RunParameters::readReps},
        {m_writeRepsEdit, &RunParameters::writeReps}, {m_sampsSecEdit, &RunParameters::sampsSec},
    };
    for (const auto& exchanged : fields) {
        std::int32_t& value = m_parameters.*exchanged.field;
        if (!save) {
            exchanged.edit->setText(QString::number(value));
            continue;
        }
        const ParameterSpec& spec = SpecOf(exchanged.field);
        const FieldCheck check = CheckIntegerField(exchanged.edit->text(), spec.low, spec.high);
        if (!check.accepted) {
            FocusParameterEdit(exchanged.edit);
            exchanged.edit->selectAll();
            ShowMessage(this, check.message, kPlainBox);
            return false;
        }
        value = check.value;
    }
    return true;
}

void PerfDialog::OnStart()
{
    if (!UpdateData(true)) {
        return;
    }
    if (m_parameters.fileSizeKB % m_parameters.bufSizeKB != 0) {
        FocusParameterEdit(m_fileSizeEdit);
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
    m_stopButton->setFocus(Qt::OtherFocusReason);
    RunParameters p = m_parameters;
    p.simultaneous = m_simultaneousCheck->isChecked() ? 1 : 0;
    const DriveEntry* drive = SystemDriveTable().Find(driveLetter);
    m_recorder.Begin("keltally", p, drive != nullptr ? drive->rootPath : std::string(),
                     drive != nullptr ? FileSystemOf(*drive) : FileSystemInfo {});
    m_recordFinished = false;
    m_tester.SetParameters(driveLetter, p.numFiles, p.fileSizeKB, p.bufSizeKB, p.readReps, p.writeReps, p.sampsSec,
                           p.minRead, p.minWrite, p.simultaneous, this, &m_recorder);
    StopAtProcessEnd(m_tester);
    m_tester.Start();
    // A run that could not start has already queued its end.
    if (m_tester.IsRunning() != 0) {
        m_runInTitle = true;
        OnPassDrawn();
    }
}

void PerfDialog::OnStop()
{
    // A stopped run posts no end of its own; it ends here as a finished one.
    m_tester.Stop();
    OnTestFinished();
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
    FinishRecord();
    ShowIdleTitle();
    EnableControls(1);
    m_startButton->setFocus(Qt::OtherFocusReason);
}

void PerfDialog::OnPassDrawn()
{
    // Passes may still be on their way when a run has ended: only a run in
    // progress is shown, and always from the view's last pass rather than the
    // one announced, which may belong to an earlier run.
    if (m_runInTitle) {
        setWindowTitle(RunProgressTitle(m_tester.Parameters(), m_graph.LastPass()));
    }
}

void PerfDialog::FinishRecord()
{
    m_recorder.Finish(m_tester.Outcome());
    m_recordFinished = true;
}

bool PerfDialog::CanSaveResults() const
{
    return m_recordFinished && m_tester.IsRunning() == 0 && m_graph.HasResults() != 0;
}

void PerfDialog::OnSaveResults()
{
    if (!CanSaveResults()) {
        return;
    }
    // Opened window-modal, without an event loop of its own.
    auto* chooser = new QFileDialog(this, QStringLiteral("Save Results"), QDir::homePath(),
                                    QStringLiteral("Run records (*.json)"));
    chooser->setAcceptMode(QFileDialog::AcceptSave);
    chooser->setDefaultSuffix(QStringLiteral("json"));
    chooser->setAttribute(Qt::WA_DeleteOnClose);
    connect(chooser, &QFileDialog::fileSelected, this, [this](const QString& path) { SaveResults(path); });
    chooser->open();
}

bool PerfDialog::SaveResults(const QString& recordPath)
{
    const auto failure = SaveRunResults(recordPath, m_recorder.Record(), m_graph.GraphImage(), m_graph.TextImage());
    if (failure) {
        ShowMessage(this, QStringLiteral("Unable to save the results.\n\n%1").arg(*failure), kPlainBox);
        return false;
    }
    return true;
}

void PerfDialog::ShowIdleTitle()
{
    m_runInTitle = false;
    setWindowTitle(QString::fromLatin1(kDialogCaption));
}

void PerfDialog::EnableControls(int idle)
{
    const bool running = idle == 0;
    const bool edits = !running && m_advanced != 0;
    const struct {
        QWidget* control;
        bool enabled;
    } states[] = {
        {m_presetLabel, !running},    {m_presetList, !running},     {m_driveLabel, !running},
        {m_driveList, !running},      {m_displayLabel, true},       {m_asGraph, true},
        {m_asText, true},             {m_helpButton, !running},     {m_aboutButton, true},
        {m_exitButton, true},         {m_advancedButton, !running}, {m_startButton, !running},
        {m_stopButton, running},      {m_parameterPanel, !running}, {m_sampsSecLabel, !running},
        {m_sampsSecEdit, edits},      {m_numFilesLabel, !running},  {m_numFilesEdit, edits},
        {m_fileSizeLabel, !running},  {m_fileSizeEdit, edits},      {m_bufSizeLabel, !running},
        {m_bufSizeEdit, edits},       {m_readRepsLabel, !running},  {m_readRepsEdit, edits},
        {m_writeRepsLabel, !running}, {m_writeRepsEdit, edits},
    };
    for (const auto& state : states) {
        state.control->setEnabled(state.enabled);
    }
}

}  // namespace kel
