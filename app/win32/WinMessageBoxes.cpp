#include "app/win32/WinMessageBoxes.h"

#include "platform/win32/WinText.h"

namespace kel {

namespace {

constexpr UINT kCancelCheckMs = 50;

// The cancel flag of the box open on this thread; the timer procedure has no
// other way to find it.
thread_local const std::atomic<std::int32_t>* t_cancel = nullptr;

BOOL CALLBACK CloseBoxOfThread(HWND window, LPARAM)
{
    wchar_t className[16] = {};
    if (GetClassNameW(window, className, 16) > 0 && std::wstring_view(className) == L"#32770") {
        PostMessageW(window, WM_COMMAND, IDOK, 0);
    }
    return TRUE;
}

void CALLBACK CheckCancel(HWND, UINT, UINT_PTR, DWORD)
{
    if (t_cancel != nullptr && t_cancel->load(std::memory_order_acquire) != 0) {
        EnumThreadWindows(GetCurrentThreadId(), CloseBoxOfThread, 0);
    }
}

}  // namespace

void WinMessageBoxes::ShowMessageBox(const std::string& text, unsigned type, const std::atomic<std::int32_t>* cancel)
{
    if (cancel != nullptr && cancel->load(std::memory_order_acquire) != 0) {
        return;
    }
    const UINT style = MB_OK | ((type & kErrorBox) != 0 ? MB_ICONHAND : 0u);
    UINT_PTR timer = 0;
    if (cancel != nullptr) {
        t_cancel = cancel;
        timer = SetTimer(nullptr, 0, kCancelCheckMs, CheckCancel);
    }
    MessageBoxW(m_owner, Widen(text).c_str(), L"Kel Tallyforge", style);
    if (timer != 0) {
        KillTimer(nullptr, timer);
    }
    t_cancel = nullptr;
}

}  // namespace kel
