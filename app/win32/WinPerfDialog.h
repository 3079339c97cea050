#pragma once
// The main dialog of the Windows program, on dialog template 102: the preset
// and drive lists, the display mode, the parameter panel that collapses and
// expands, and the run control (Start, Stop, Exit) through the run session,
// whose worker posts WM_TEST_FINISHED at the end of every run not stopped.

#include "app/win32/WinResultView.h"
#include "engine/DriveTester.h"
#include "engine/RunParameters.h"
#include "engine/RunSession.h"
#include "platform/PlatformServices.h"
#include "settings/PresetTable.h"

#include <windows.h>

#include <filesystem>

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

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static INT_PTR CALLBACK AboutProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void RunSessionEnded(const RunOutcome& outcome) override;
    INT_PTR OnMessage(UINT message, WPARAM wParam);
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

    // The six fields from (save) or to the edits; a refused field ends it.
    bool UpdateData(bool save);
    void EnableControls(int idle);
    void EnableParamEdits();
    void LayoutPanel();
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
    // Last: destroyed first, so a run still going stops before the view goes.
    RunSession m_session;
};

}  // namespace kel
