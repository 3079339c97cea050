#include "tests/app/win32/DialogDriver.h"

#include "platform/PlatformServices.h"
#include "platform/win32/WinText.h"

#include <chrono>
#include <fstream>

namespace kel::test {

void CapturedBoxes::ShowMessageBox(const std::string& text, unsigned, const std::atomic<std::int32_t>*)
{
    const std::lock_guard guard(m_lock);
    m_texts.push_back(text);
}

std::vector<std::string> CapturedBoxes::Texts() const
{
    const std::lock_guard guard(m_lock);
    return m_texts;
}

DialogDriver::DialogDriver(const std::string& settingsText)
{
    if (!settingsText.empty()) {
        std::ofstream(SettingsPath(), std::ios::binary) << settingsText;
    }
    m_drives.Register('C', m_folder.Path());
    PlatformServices services = DefaultPlatformServices();
    services.messages = &m_boxes;
    services.drives = &m_drives;
    DialogFiles files;
    files.settings = SettingsPath();
    files.help = std::filesystem::path(m_settingsFolder.Path()) / "missing.html";
    m_perf = std::make_unique<WinPerfDialog>(services, files, static_cast<DialogWatcher*>(this));
    m_thread = std::thread([this] {
        m_perf->DoModal(GetModuleHandleW(nullptr));
        const std::lock_guard guard(m_lock);
        m_dialog = nullptr;
        m_changed.notify_all();
    });
    {
        std::unique_lock lock(m_lock);
        m_changed.wait(lock, [this] { return m_dialog != nullptr; });
    }
    // Handled by the modal loop, so only once the dialog is shown.
    SendMessageW(m_dialog, WM_NULL, 0, 0);
}

std::filesystem::path DialogDriver::SettingsPath() const
{
    return std::filesystem::path(m_settingsFolder.Path()) / "KelTally.ini";
}

DialogDriver::~DialogDriver()
{
    HWND dialog = nullptr;
    {
        const std::lock_guard guard(m_lock);
        dialog = m_dialog;
    }
    if (dialog != nullptr) {
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    }
    m_thread.join();
}

void DialogDriver::DialogOpened(HWND dialog)
{
    const std::lock_guard guard(m_lock);
    m_dialog = dialog;
    m_threadId = GetCurrentThreadId();
    m_changed.notify_all();
}

void DialogDriver::AboutOpened(HWND about)
{
    const std::lock_guard guard(m_lock);
    m_about = about;
    m_changed.notify_all();
}

void DialogDriver::RunFinished()
{
    const std::lock_guard guard(m_lock);
    ++m_runsFinished;
    m_changed.notify_all();
}

void DialogDriver::Click(int id)
{
    SendMessageW(m_dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(Item(id)));
}

void DialogDriver::SetText(int id, const std::string& text)
{
    SetWindowTextW(Item(id), Widen(text).c_str());
}

std::string DialogDriver::Text(HWND window) const
{
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return Narrow(text);
}

HWND DialogDriver::Focus() const
{
    GUITHREADINFO info {};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(m_threadId, &info) ? info.hwndFocus : nullptr;
}

std::string DialogDriver::WaitForTitle(const std::function<bool(const std::string&)>& wanted) const
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    std::string title = Text(m_dialog);
    while (!wanted(title) && std::chrono::steady_clock::now() < deadline) {
        Sleep(10);
        title = Text(m_dialog);
    }
    return title;
}

void DialogDriver::WaitForRunFinished()
{
    std::unique_lock lock(m_lock);
    ++m_runsWaitedFor;
    m_changed.wait(lock, [this] { return m_runsFinished >= m_runsWaitedFor; });
}

HWND DialogDriver::WaitForAbout()
{
    std::unique_lock lock(m_lock);
    m_changed.wait(lock, [this] { return m_about != nullptr; });
    return m_about;
}

void DialogDriver::WaitForClosed()
{
    {
        std::unique_lock lock(m_lock);
        m_changed.wait(lock, [this] { return m_dialog == nullptr; });
    }
    m_thread.join();
    m_thread = std::thread([] {});
}

}  // namespace kel::test
