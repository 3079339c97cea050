#pragma once
// The main dialog of the Windows program, on dialog template 102: the preset
// and drive lists, the display mode, the parameter panel that collapses and
// expands, the run control (Start, Stop, Exit) through the run session,
// whose worker posts WM_TEST_FINISHED at the end of every run not stopped,
// the run's progress in the title, the note on how the files were reached,
// and the context menu: the graph's scale, Save, Copy and Open Results and
// Compare With.

#include "app/win32/WinResultView.h"
#include "engine/DriveTester.h"
#include "engine/RunParameters.h"
#include "engine/RunSession.h"
#include "platform/PlatformServices.h"
#include "settings/PresetTable.h"

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

namespace kel {

class MessageSink;

// What a watcher (a test driving the dialog by its messages) is told, on the
// dialog's thread.
class DialogWatcher {
public:
    virtual ~DialogWatcher() = default;
    virtual void DialogOpened(HWND /*dialog*/) {}
    virtual void AboutOpened(HWND /*about*/) {}
    virtual void RunFinished() {}
};

struct DialogFiles {
    std::filesystem::path settings;  // the user's settings file
    std::filesystem::path shippedPresets;  // the package's presets; may be empty
    std::filesystem::path help;  // the manual the Help button opens
};

// The context menu's commands: the graph scales from kScale on, in the
// menu's order.
namespace command {
constexpr int kScale = 0x7000;
constexpr int kSaveResults = 0x7010;
constexpr int kCopyResults = 0x7011;
constexpr int kOpenResults = 0x7012;
constexpr int kCompareWith = 0x7013;
constexpr int kVerifyData = 0x7020;
}  // namespace command

struct MenuDestroyer {
    void operator()(HMENU menu) const { DestroyMenu(menu); }
};
using OwnedMenu = std::unique_ptr<std::remove_pointer_t<HMENU>, MenuDestroyer>;

class WinPerfDialog : private RunSessionListener {
public:
    // services.messages shows every box, the worker's too; services.drives
    // fills the drive list.
    WinPerfDialog(const PlatformServices& services, DialogFiles files, DialogWatcher* watcher = nullptr);
    WinPerfDialog(const WinPerfDialog&) = delete;
    WinPerfDialog& operator=(const WinPerfDialog&) = delete;
    ~WinPerfDialog() override;

    // Runs the dialog modally until it closes; a running test is stopped first.
    INT_PTR DoModal(HINSTANCE instance);

    const DriveTester& Tester() const { return m_session.Tester(); }
    const WinResultView& Graph() const { return m_graph; }
    // The context menu as it would open now; its items send their commands
    // to the dialog as WM_COMMAND.
    OwnedMenu CreateContextMenu() const;
    // Whether a finished run with a pass drawn can be saved now.
    bool CanSaveResults() const;
    // Saves the last run's record as recordPath and its pictures beside it;
    // false after telling the user why not. Called while the dialog is idle.
    bool SaveResults(const std::filesystem::path& recordPath);
    // Shows a saved record in the view (graph, text and title), or draws its
    // passes beneath those shown (compare); false after telling the user why
    // not: during a run, or when the record cannot be read or breaks a rule.
    bool OpenResults(const std::filesystem::path& recordPath, bool compare = false);

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static INT_PTR CALLBACK AboutProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void RunSessionEnded(const RunOutcome& outcome) override;
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    BOOL OnInitDialog();
    void OnCommand(int id, int code);
    bool OnSysCommand(WPARAM command);
    void OnPaint();

    void OnStart();
    void OnStop();
    void OnCancel();
    void OnTestFinished();
    void OnAbout();
    void OnHelpButton();
    void OnDisplayMode();
    void OnSelchangePreset();
    void OnSimultaneous();
    void OnAdvanced();
    // A minimum rate edit left: the empty view shows the new threshold line.
    void OnRateEdited(int editId);
    // The menu at a screen position (-1: from the keyboard, at the view).
    void OnContextMenu(LPARAM position);
    void OnMenuCommand(int commandId);
    // Shows the graph on that scale and keeps the choice in the settings file.
    void OnGraphScale(const GraphScale& scale);
    void OnCopyResults();
    // Turns stamped, checked data on or off for the next runs and keeps the
    // choice in the settings file.
    void OnVerifyData();
    // Asks for a name, then SaveResults.
    void OnSaveResults();
    // Asks for a record, then OpenResults.
    void ChooseResults(bool compare);
    void OnPassDrawn();
    INT_PTR OnAccessNoteColours(HDC dc);

    // The fields from (save) or to the edits, the minimum rates last; a
    // refused field ends it.
    bool UpdateData(bool save);
    // Expands the panel if need be, then focuses the edit and selects its text.
    void FocusParameterEdit(int editId);
    void ShowSettingsInEmptyView();
    void ShowIdleTitle();
    void ShowAccessNote();
    // The drive letter of the last run's test folder; 0 when no drive of the
    // list holds it.
    char LastRunDrive() const;
    void EnableControls(int idle);
    void EnableParamEdits();
    void LayoutPanel();
    // A label whose text the font makes wider than its rectangle grows away
    // from its aligned edge rather than being cut.
    void FitLabels();
    void FillDriveList();
    void LoadPresets();
    void FitDropDown(int listId);
    void ShowMessage(const std::string& text);
    HWND Item(int id) const { return GetDlgItem(m_window, id); }

    PlatformServices m_services;
    MessageSink* m_messages;
    DialogFiles m_files;
    DialogWatcher* m_watcher;
    HINSTANCE m_instance = nullptr;
    HWND m_window = nullptr;
    HICON m_icon = nullptr;
    HICON m_smallIcon = nullptr;
    WinResultView m_graph;
    RunParameters m_parameters;
    PresetTable m_presets;
    int m_advanced = 0;
    int m_fullHeight = 0;
    // From the start of a run until it has ended: the title shows its progress.
    bool m_runInTitle = false;
    bool m_verifyData = false;
    std::chrono::steady_clock::time_point m_runStart;
    // The view shows opened records, not the last run (which Save Results
    // would save): their names, the first's the view's own.
    std::vector<std::string> m_openedNames;
    // Last: destroyed first, so a run still going stops before the view goes.
    RunSession m_session;
};

}  // namespace kel
