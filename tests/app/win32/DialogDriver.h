#pragma once
// Runs the Windows dialog modally on a thread of its own and drives it from
// the test's thread with window messages, as a user's clicks would arrive.
// Boxes are captured, not shown; the drive list holds C, a temporary folder.

#include "app/win32/WinPerfDialog.h"
#include "platform/DriveTable.h"
#include "platform/MessageSink.h"
#include "tests/support/TempDir.h"

#include <windows.h>

#include <condition_variable>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace kel::test {

class CapturedBoxes : public MessageSink {
public:
    void ShowMessageBox(const std::string& text, unsigned type, const std::atomic<std::int32_t>* cancel) override;
    std::vector<std::string> Texts() const;

private:
    mutable std::mutex m_lock;
    std::vector<std::string> m_texts;
};

class DialogDriver : private DialogWatcher {
public:
    // Opens the dialog on a settings file that holds settingsText (none: no file).
    explicit DialogDriver(const std::string& settingsText = {});
    // Closes the dialog if it is still open and waits for its thread.
    ~DialogDriver() override;

    HWND Dialog() const { return m_dialog; }
    HWND Item(int id) const { return GetDlgItem(m_dialog, id); }
    // Returns once the click has been handled; a menu's command comes the same way.
    void Click(int id);
    void SetText(int id, const std::string& text);
    std::string Text(HWND window) const;
    // The control that has the focus on the dialog's thread.
    HWND Focus() const;
    // Waits up to a minute for a title that meets wanted; returns the last one.
    std::string WaitForTitle(const std::function<bool(const std::string&)>& wanted) const;
    // Waits for the next end of a run the dialog was told of.
    void WaitForRunFinished();
    // Waits until the About box is open and returns it.
    HWND WaitForAbout();
    // Waits until the dialog has closed and its thread has ended.
    void WaitForClosed();
    const WinPerfDialog& Perf() const { return *m_perf; }
    WinPerfDialog& Perf() { return *m_perf; }
    std::filesystem::path SettingsPath() const;
    const TempDir& Folder() const { return m_folder; }
    CapturedBoxes& Boxes() { return m_boxes; }

private:
    void DialogOpened(HWND dialog) override;
    void AboutOpened(HWND about) override;
    void RunFinished() override;

    TempDir m_folder;
    TempDir m_settingsFolder;
    DriveTable m_drives;
    CapturedBoxes m_boxes;
    std::unique_ptr<WinPerfDialog> m_perf;
    std::mutex m_lock;
    std::condition_variable m_changed;
    HWND m_dialog = nullptr;
    HWND m_about = nullptr;
    int m_runsFinished = 0;
    int m_runsWaitedFor = 0;
    DWORD m_threadId = 0;
    std::thread m_thread;
};

}  // namespace kel::test
