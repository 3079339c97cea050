// Data exchange and run control of the main dialog.

#include "app/DataExchange.h"
#include "app/DialogLayout.h"
#include "app/MessagePresenter.h"
#include "app/PerfDialog.h"
#include "app/RunExitGuard.h"
#include "app/RunDescription.h"
#include "app/RunProgressTitle.h"
#include "app/SavedResults.h"
#include "engine/TestFileName.h"
#include "platform/DriveTable.h"
#include "platform/StopSignals.h"
#include "platform/TextRules.h"
#include "view/QueuedCall.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <algorithm>

namespace kel {

namespace {

// How long a stop may take before the window says it waits for the drive.
constexpr int kStopWaitMs = 2000;

// The queued end of a run, from the worker thread to the window's.
class RunEndedEvent : public QEvent {
public:
    static QEvent::Type EventType()
    {
        static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
        return type;
    }
    RunEndedEvent() : QEvent(EventType()) {}
};

}  // namespace

void PerfDialog::RunSessionEnded(const RunOutcome&)
{
    // The window reads the outcome from the session's finished record.
    auto* event = new RunEndedEvent;
    MarkPosted();
    QCoreApplication::postEvent(this, event);
}

bool PerfDialog::event(QEvent* e)
{
    MarkReceived();
    if (e->type() == RunEndedEvent::EventType()) {
        OnRunEnded();
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
            ShowMessage(this, QString::fromStdString(check.message), kPlainBox);
            return false;
        }
        value = check.value;
    }
    // The minimum rates follow, in MB/s with up to three decimals.
    const struct {
        QLineEdit* edit;
        std::int32_t RunParameters::*field;
    } rates[] = {{m_minReadEdit, &RunParameters::minRead}, {m_minWriteEdit, &RunParameters::minWrite}};
    for (const auto& exchanged : rates) {
        std::int32_t& value = m_parameters.*exchanged.field;
        if (!save) {
            exchanged.edit->setText(RateFieldText(value));
            continue;
        }
        const FieldCheck check = CheckRateField(exchanged.edit->text(), kMaxRateFieldMBs);
        if (!check.accepted) {
            FocusParameterEdit(exchanged.edit);
            exchanged.edit->selectAll();
            ShowMessage(this, QString::fromStdString(check.message), kPlainBox);
            return false;
        }
        // An unchanged field keeps a threshold of none as the preset wrote it.
        if (check.value != std::max(value, 0)) {
            value = check.value;
        }
    }
    return true;
}

void PerfDialog::OnRateEdited()
{
    auto* edit = qobject_cast<QLineEdit*>(sender());
    const FieldCheck check = CheckRateField(edit->text(), kMaxRateFieldMBs);
    if (check.accepted) {
        (edit == m_minReadEdit ? m_parameters.minRead : m_parameters.minWrite) = check.value;
        ShowSettingsInEmptyView();
    }
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
    RunRequest request {"keltally", m_driveList->itemData(item).toInt() & 0xFF, m_parameters,
                        RunOptions {m_verifyData}, {}};
    request.parameters.simultaneous = m_simultaneousCheck->isChecked() ? 1 : 0;
    StopAtProcessEnd(m_session.Tester());
    // The first pass in the title before the run starts: a short one may
    // have drawn a pass before this handler goes on.
    m_runInTitle = true;
    m_openedNames.clear();
    m_graph.ClearCompared();
    m_runClock.start();
    setWindowTitle(RunProgressTitle(request.parameters, DrawnPass {}, 0.0));
    if (!m_session.Start(request)) {
        ShowIdleTitle();
        return;  // the drive check said why
    }
    ShowAccessNote();  // a folder in memory is known before the first pass
    // A second stop signal ends the program at once, naming what may remain.
    EndAtSecondStopSignal(FilesMayRemainText("keltally", m_session.RootPath(), m_session.Parameters()));
    EnableControls(0);
    m_stopButton->setFocus(Qt::OtherFocusReason);
}

void PerfDialog::OnStop()
{
    if (!m_session.IsRunning() || m_stopping) {
        return;
    }
    m_stopping = true;
    m_stopButton->setEnabled(false);
    m_session.RequestStop();
    if (m_stopWait == nullptr) {
        m_stopWait = new QTimer(this);
        m_stopWait->setSingleShot(true);
        connect(m_stopWait, &QTimer::timeout, this, &PerfDialog::OnStopTakesLong);
    }
    m_stopWait->start(kStopWaitMs);
}

void PerfDialog::OnStopTakesLong()
{
    if (m_stopping) {
        m_runInTitle = false;
        setWindowTitle(QString::fromLatin1(kDialogCaption) + QStringLiteral(" - Waiting for the drive to stop"));
    }
}

void PerfDialog::reject()
{
    if (!m_session.IsRunning() && !m_stopping) {
        QDialog::reject();
        return;
    }
    if (m_quitWhenEnded && m_stopWait != nullptr && !m_stopWait->isActive()) {
        AskQuitWithoutTheDrive();
        return;
    }
    // The window closes once the run has deleted its files.
    m_quitWhenEnded = true;
    OnStop();
}

void PerfDialog::AskQuitWithoutTheDrive()
{
    QString names;
    for (const std::string& name : TestFileNames(m_session.RootPath(), m_session.Parameters())) {
        names += QStringLiteral("\n  ") + QString::fromStdString(PrintableText(name));
    }
    AskQuestion(this,
                QStringLiteral("The drive has not finished the transfer in progress, so the test files cannot be "
                               "deleted yet.\n\nQuit anyway? These test files may remain:") +
                    names,
                [](bool quit) {
                    if (quit) {
                        EndProcessAtOnce(1);
                    }
                });
}

void PerfDialog::OnRunEnded()
{
    // The files are gone: a second stop signal has nothing left to name.
    EndAtSecondStopSignal({});
    m_stopping = false;
    if (m_stopWait != nullptr) {
        m_stopWait->stop();
    }
    ShowIdleTitle();
    ShowAccessNote();
    EnableControls(1);
    m_startButton->setFocus(Qt::OtherFocusReason);
    if (m_quitWhenEnded) {
        m_quitWhenEnded = false;
        QDialog::reject();
    }
}

void PerfDialog::OnPassDrawn()
{
    // Passes may still be on their way when a run has ended: only a run in
    // progress is shown, and always from the view's last pass rather than the
    // one announced, which may belong to an earlier run.
    if (m_runInTitle) {
        setWindowTitle(RunProgressTitle(m_session.Parameters(), m_graph.LastPass(),
                                        static_cast<double>(m_runClock.nsecsElapsed()) / 1e9));
    }
}

void PerfDialog::ShowAccessNote()
{
    const RunRecord record = m_session.Record();
    m_accessNote->setText(FileAccessNotice(record));
    m_accessNote->setToolTip(m_accessNote->text().isEmpty() ? QString() : FileAccessText(record));
}

char PerfDialog::LastRunDrive() const
{
    return m_services.drives->LetterOfRoot(m_session.Record().directory);
}

bool PerfDialog::CanSaveResults() const
{
    return m_session.HasFinishedRecord() && !m_session.IsRunning() && m_graph.HasResults() != 0 &&
           m_openedNames.empty();
}

void PerfDialog::OnSaveResults()
{
    if (!CanSaveResults()) {
        return;
    }
    // Opened window-modal, without an event loop of its own.
    auto* chooser = new QFileDialog(this, QStringLiteral("Save Results"),
                                    QDir::home().filePath(ProposedRecordName(StartTime(m_session.Record()), LastRunDrive())),
                                    QStringLiteral("Run records (*.json)"));
    chooser->setAcceptMode(QFileDialog::AcceptSave);
    chooser->setDefaultSuffix(QStringLiteral("json"));
    chooser->setAttribute(Qt::WA_DeleteOnClose);
    connect(chooser, &QFileDialog::fileSelected, this, [this](const QString& path) { SaveResults(path); });
    chooser->open();
}

bool PerfDialog::SaveResults(const QString& recordPath)
{
    const auto failure = SaveRunResults(recordPath, m_session.Record(), m_graph.GraphImage(), m_graph.TextImage());
    if (failure) {
        ShowMessage(this, QStringLiteral("Unable to save the results.\n\n%1").arg(*failure), kPlainBox);
        return false;
    }
    const QFileInfo record(recordPath);
    ShowMessage(this,
                QStringLiteral("The results were saved in %1:\n\n%2 (the run record)\n%3 (the graph)\n%4 (the text)")
                    .arg(QDir::toNativeSeparators(record.absolutePath()), record.fileName(),
                         QFileInfo(GraphPicturePath(recordPath)).fileName(),
                         QFileInfo(TextPicturePath(recordPath)).fileName()),
                kPlainBox);
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
        {m_writeRepsLabel, !running}, {m_writeRepsEdit, edits},     {m_minReadLabel, !running},
        {m_minReadEdit, edits},       {m_minWriteLabel, !running},  {m_minWriteEdit, edits},
    };
    for (const auto& state : states) {
        state.control->setEnabled(state.enabled);
    }
}

}  // namespace kel
