#pragma once
// The program's main window: the results view, the preset and drive lists,
// the display mode, the parameter panel and the run buttons. It owns the run
// session and the results view, validates the parameters, starts and stops
// runs and switches its controls between the idle and the running state.

#include "app/GuiMessageSink.h"
#include "engine/RunParameters.h"
#include "engine/RunSession.h"
#include "platform/PlatformServices.h"
#include "settings/PresetTable.h"
#include "view/GraphScale.h"
#include "view/ResultGraph.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <QUrl>

#include <array>
#include <functional>
#include <utility>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QTimer;

namespace kel {

class AboutDialog;

class PerfDialog : public QDialog, private RunSessionListener {
    Q_OBJECT
public:
    // Runs on these services; without a message sink the worker's boxes are
    // the dialog's own.
    explicit PerfDialog(const PlatformServices& services, QWidget* parent = nullptr);
    ~PerfDialog() override;

    const DriveTester& Tester() const { return m_session.Tester(); }
    ResultGraph& Graph() { return m_graph; }
    // Whether a finished run with a pass drawn can be saved now.
    bool CanSaveResults() const;
    // Saves the last run's record as recordPath and its pictures beside it;
    // false after telling the user why not.
    bool SaveResults(const QString& recordPath);
    // Shows a saved record in the view (graph, text and title), or draws its
    // passes beneath those shown (compare); false after telling the user why
    // not: during a run, or when the record cannot be read or breaks a rule.
    bool OpenResults(const QString& recordPath, bool compare = false);
    int IsAdvanced() const { return m_advanced; }
    // Height of the expanded window, recorded before the first layout.
    int FullHeight() const { return m_fullHeight; }

    // The window's context menu, from the mouse, Shift+F10 or the Menu key:
    // the graph's scale and Copy Results, then the items a title-bar menu
    // would hold: the window's own commands, a separator and the About item
    // (command id 16).
    QMenu* CreateContextMenu(QWidget* menuParent);
    void OnSysCommand(int commandId);
    // Shows the graph on that scale and keeps the choice in the settings
    // file; nothing happens when it is the scale shown.
    void OnGraphScale(const GraphScale& scale);
    // Whether the next runs stamp their data and check it when read back;
    // kept in the settings file.
    void OnVerifyData(bool verify);
    // Stores the current parameters and minimum rates as the user's preset of
    // that name (asking first when one exists) and selects it.
    void SavePresetAs(const QString& name);
    // Replaces the desktop's URL handler used by Help (tests).
    void SetUrlOpener(std::function<bool(const QUrl&)> opener) { m_openUrl = std::move(opener); }

public slots:
    void OnStart();
    // Asks the run to stop; the window stays responsive until it has.
    void OnStop();
    void OnDisplayMode();
    void OnSimultaneous();
    void OnAdvanced();
    void OnSelchangePreset();
    void OnHelpButton();
    void OnAbout();
    // The text view's values as text, on the clipboard.
    void OnCopyResults();
    // Asks for a name, then saves the last run's record and pictures there.
    void OnSaveResults();
    // Asks for a record, then OpenResults.
    void ChooseResults(bool compare);
    // Asks a name for the current parameters, then SavePresetAs.
    void OnSaveAsPreset();
    // Deletes the selected preset after asking; the package's own cannot be.
    void OnDeletePreset();
    // Exit: during a run it asks "Stop the test and quit?" first.
    void OnExit();
    // Asks, and on Yes stops the run and ends the program.
    void AskStopAndQuit();
    // Stops a running test and ends the program.
    void reject() override;

protected:
    bool event(QEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;
    // Escape does nothing; closing during a run asks first.
    void keyPressEvent(QKeyEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    // Called on the worker thread; queues the end for this window's thread.
    void RunSessionEnded(const RunOutcome& outcome) override;
    void OnRunEnded();
    // A stop that takes long: the drive has not finished its transfer.
    void OnStopTakesLong();
    // Exit while a stop waits for the drive: asks whether to quit anyway.
    void AskQuitWithoutTheDrive();

    // Creates the control of that id with its caption, rectangle and kind
    // from the dialog's layout table.
    template <int ControlId, class Control>
    Control* AddControl();
    void CreateControls();
    // The panel's labels and the edits they name, in layout order.
    std::array<std::pair<QLabel*, QLineEdit*>, 8> PanelFields() const;
    // The minimum rate edits, read when the user leaves one: the empty view
    // shows the new threshold line at once.
    void OnRateEdited();
    // F1 for Help; Shift+F10 and the Menu key for the context menu.
    void CreateShortcuts();
    void OnInitDialog();
    // Fields to edits (save false) or edits to fields with the range checks
    // (save true); false when a field was refused.
    bool UpdateData(bool save);
    void EnableControls(int idle);
    void EnableParamEdits();
    // An empty view draws the layout and thresholds of the current settings.
    void ShowSettingsInEmptyView();
    void LayoutPanel();
    // The panel's labels lead to their edits by their mnemonics only while
    // the panel is expanded: collapsed, they lie outside the window.
    void SetPanelMnemonics();
    // Expands the panel if need be, so the edit can be seen, and focuses it.
    void FocusParameterEdit(QLineEdit* edit);
    // The title names the pass in progress, the share done and the time
    // left while a run is on.
    void OnPassDrawn();
    // The note beside the buttons from the last run's record: empty, or
    // why its figures are not a disk's with the cache bypassed.
    void ShowAccessNote();
    // The drive letter of the last run's test folder; 0 when no drive of the
    // list holds it.
    char LastRunDrive() const;
    void ShowIdleTitle();
    void PopUpContextMenu(QPoint globalPos);

    // Drive list and presets.
    void FillDriveList();
    void LoadPresets();
    void LoadShippedPresets();
    // The user's presets sorted, then the package's; selects the preset of
    // that table index, or the first item.
    void FillPresetList(int selectIndex);
    // Table index of the selected preset, or -1.
    int SelectedPresetIndex() const;
    bool IsRunInProgress() const;

    GuiMessageSink m_messages;
    PlatformServices m_services;
    ResultGraph m_graph;
    // The run and its record, on its way to the view; for Save Results.
    RunSession m_session;
    // The controls in creation and tab order; the dialog's children own them.
    QLabel* m_presetLabel = nullptr;
    QComboBox* m_presetList = nullptr;
    QLabel* m_driveLabel = nullptr;
    QComboBox* m_driveList = nullptr;
    QLabel* m_displayLabel = nullptr;
    QRadioButton* m_asGraph = nullptr;
    QRadioButton* m_asText = nullptr;
    QPushButton* m_helpButton = nullptr;
    QPushButton* m_aboutButton = nullptr;
    QPushButton* m_advancedButton = nullptr;
    QPushButton* m_startButton = nullptr;
    QPushButton* m_stopButton = nullptr;
    QPushButton* m_exitButton = nullptr;
    QGroupBox* m_parameterPanel = nullptr;
    QLabel* m_sampsSecLabel = nullptr;
    QLineEdit* m_sampsSecEdit = nullptr;
    QLabel* m_numFilesLabel = nullptr;
    QLineEdit* m_numFilesEdit = nullptr;
    QLabel* m_fileSizeLabel = nullptr;
    QLineEdit* m_fileSizeEdit = nullptr;
    QLabel* m_bufSizeLabel = nullptr;
    QLineEdit* m_bufSizeEdit = nullptr;
    QLabel* m_readRepsLabel = nullptr;
    QLineEdit* m_readRepsEdit = nullptr;
    QLabel* m_writeRepsLabel = nullptr;
    QLineEdit* m_writeRepsEdit = nullptr;
    QCheckBox* m_simultaneousCheck = nullptr;
    QLabel* m_repsLabel = nullptr;
    QLabel* m_minReadLabel = nullptr;
    QLineEdit* m_minReadEdit = nullptr;
    QLabel* m_minWriteLabel = nullptr;
    QLineEdit* m_minWriteEdit = nullptr;
    QLabel* m_accessNote = nullptr;

    // The parameters as the edits and the selected preset give them; the
    // simultaneous flag is read from its check box at Start.
    RunParameters m_parameters {1, 1, 1, 1, 1, 1, 0, 0, 0};
    PresetTable m_presets;
    int m_advanced = 0;
    int m_fullHeight = 0;
    // From the start of a run until it has ended: the title shows its progress.
    bool m_runInTitle = false;
    // The view shows opened records, not the last run (which Save Results
    // would save): their names, the first's the view's own.
    std::vector<QString> m_openedNames;
    // Since the start of the run in progress, for the time left.
    QElapsedTimer m_runClock;
    // A stop was asked for and the run has not ended yet.
    bool m_stopping = false;
    // The window closes once the run has ended.
    bool m_quitWhenEnded = false;
    bool m_verifyData = false;
    QTimer* m_stopWait = nullptr;
    QPointer<AboutDialog> m_aboutBox;
    std::function<bool(const QUrl&)> m_openUrl;
};

}  // namespace kel
