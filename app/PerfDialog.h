#pragma once
// The program's main window: the results view, the preset and drive lists,
// the display mode, the parameter panel and the run buttons. It owns the
// tester and the results view, validates the parameters, starts and stops
// runs and switches its controls between the idle and the running state.

#include "app/GuiMessageSink.h"
#include "engine/DriveTester.h"
#include "engine/RunObservers.h"
#include "settings/PresetTable.h"
#include "view/ResultGraph.h"

#include <QDialog>
#include <QPointer>
#include <QUrl>

#include <functional>
#include <map>

class QComboBox;
class QMenu;

namespace kel {

class AboutDialog;

class PerfDialog : public QDialog, public DialogWindow {
    Q_OBJECT
public:
    explicit PerfDialog(QWidget* parent = nullptr);
    ~PerfDialog() override;

    // Called by the tester's worker thread; queues the message for this
    // window's thread.
    void PostWindowMessage(std::uint32_t message, std::intptr_t wParam, std::intptr_t lParam) override;

    // The control of a dialog id (1011 to 1038, 2), or null.
    QWidget* Control(int controlId) const;
    const DriveTester& Tester() const { return m_tester; }
    ResultGraph& Graph() { return m_graph; }
    int IsAdvanced() const { return m_advanced; }
    // Height of the expanded window, recorded before the first layout.
    int FullHeight() const { return m_fullHeight; }

    // The items this window adds to the title-bar menu: the window's own
    // commands, a separator and the About item (command id 16).
    QMenu* CreateSystemMenu(QWidget* menuParent);
    void OnSysCommand(int commandId);
    // Replaces the desktop's URL handler used by Help (tests).
    void SetUrlOpener(std::function<bool(const QUrl&)> opener) { m_openUrl = std::move(opener); }

public slots:
    void OnStart();
    void OnStop();
    void OnTestFinished();
    void OnDisplayMode();
    void OnSimultaneous();
    void OnAdvanced();
    void OnSelchangePreset();
    void OnHelpButton();
    void OnAbout();
    // Exit, Escape and closing the window.
    void reject() override;

protected:
    bool event(QEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;

private:
    void CreateControls();
    void OnInitDialog();
    // Fields to edits (save false) or edits to fields with the range checks
    // (save true); false when a field was refused.
    bool UpdateData(bool save);
    void EnableControls(int idle);
    void EnableParamEdits();
    void LayoutPanel();
    void SetEnabled(int controlId, bool enabled);
    void SetFocusTo(int controlId);
    int IsChecked(int controlId) const;

    // Drive list and presets.
    void FillDriveList();
    void LoadPresets();
    int CheckDrive(int driveLetter);

    GuiMessageSink m_messages;
    QComboBox* m_driveList = nullptr;
    QComboBox* m_presetList = nullptr;
    ResultGraph m_graph;
    int m_numFiles = 1;
    int m_fileSizeKB = 1;
    int m_bufSizeKB = 1;
    int m_readReps = 1;
    int m_writeReps = 1;
    int m_sampsSec = 1;
    DriveTester m_tester;
    PresetTable m_presets;
    int m_advanced = 0;
    int m_fullHeight = 0;
    int m_minRead = 0;
    int m_minWrite = 0;
    std::map<int, QWidget*> m_controls;
    QPointer<AboutDialog> m_about;
    std::function<bool(const QUrl&)> m_openUrl;
};

}  // namespace kel
