// The main dialog's commands around a run: Help and its key, the About box,
// the context menu and the window menu's commands, the graph's scale and
// copying the results.
#include "app/PerfDialog.h"

#include "app/AboutDialog.h"
#include "app/ContextMenu.h"
#include "app/GraphScaleSetting.h"
#include "app/RunDescription.h"
#include "app/VerifyDataSetting.h"
#include "settings/ProfileFile.h"
#include "settings/SettingsLocation.h"

#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>

namespace kel {

// --- Help, the About box, the context menu and the keys that reach them ------

void PerfDialog::CreateShortcuts()
{
    // The Help button's rule holds for F1 too: no help during a run.
    connect(new QShortcut(QKeySequence(Qt::Key_F1), this), &QShortcut::activated, this, [this] {
        if (m_helpButton->isEnabled()) {
            OnHelpButton();
        }
    });
    for (const QKeySequence& keys : {QKeySequence(Qt::SHIFT | Qt::Key_F10), QKeySequence(Qt::Key_Menu)}) {
        connect(new QShortcut(keys, this), &QShortcut::activated, this, [this] {
            const QWidget* anchor = focusWidget() != nullptr ? focusWidget() : &m_graph;
            PopUpContextMenu(anchor->mapToGlobal(anchor->rect().center()));
        });
    }
}

void PerfDialog::OnHelpButton()
{
    OpenHelpFile(this, m_openUrl);
}

void PerfDialog::OnAbout()
{
    if (m_aboutBox) {
        m_aboutBox->raise();
        m_aboutBox->activateWindow();
        return;
    }
    m_aboutBox = new AboutDialog(this);
    m_aboutBox->setAttribute(Qt::WA_DeleteOnClose);
    m_aboutBox->open();
}

QMenu* PerfDialog::CreateContextMenu(QWidget* menuParent)
{
    ContextMenuActions actions;
    actions.currentScale = m_graph.Scale();
    actions.hasResults = m_graph.HasResults() != 0;
    actions.onScale = [this](const GraphScale& scale) { OnGraphScale(scale); };
    actions.onCopyResults = [this] { OnCopyResults(); };
    actions.canOpen = !IsRunInProgress();
    actions.onOpenResults = [this] { ChooseResults(false); };
    actions.onCompareWith = [this] { ChooseResults(true); };
    actions.canSave = CanSaveResults();
    actions.onSaveResults = [this] { OnSaveResults(); };
    actions.onCommand = [this](int commandId) { OnSysCommand(commandId); };
    actions.presetsEnabled = m_presetList->isEnabled();
    actions.canDeletePreset = SelectedPresetIndex() >= 0 && !m_presets.IsShipped(SelectedPresetIndex());
    actions.onSaveAsPreset = [this] { OnSaveAsPreset(); };
    actions.onDeletePreset = [this] { OnDeletePreset(); };
    actions.verifyData = m_verifyData;
    actions.onVerifyData = [this](bool verify) { OnVerifyData(verify); };
    return BuildContextMenu(menuParent, actions);
}

void PerfDialog::PopUpContextMenu(QPoint globalPos)
{
    QMenu* menu = CreateContextMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(globalPos);
}

void PerfDialog::contextMenuEvent(QContextMenuEvent* e)
{
    PopUpContextMenu(e->globalPos());
}

void PerfDialog::OnSysCommand(int commandId)
{
    if ((commandId & 0xFFF0) == kAboutCommand) {
        OnAbout();
        return;
    }
    switch (commandId & 0xFFF0) {
    case kMinimizeCommand:
        showMinimized();
        break;
    case kCloseCommand:
        close();
        break;
    default:
        break;
    }
}

void PerfDialog::OnGraphScale(const GraphScale& scale)
{
    if (scale == m_graph.Scale()) {
        return;
    }
    m_graph.SetScale(scale);
    ProfileFile settings(SettingsFilePath());
    WriteGraphScaleSetting(settings, scale);
}

void PerfDialog::OnVerifyData(bool verify)
{
    m_verifyData = verify;
    ProfileFile settings(SettingsFilePath());
    WriteVerifyDataSetting(settings, verify);
}

void PerfDialog::OnCopyResults()
{
    if (m_graph.HasResults() != 0) {
        const RunRecord record = m_session.Record();
        QGuiApplication::clipboard()->setText(ResultsHeader(record, StartTime(record), LastRunDrive()) +
                                              m_graph.ResultsText());
    }
}

}  // namespace kel
