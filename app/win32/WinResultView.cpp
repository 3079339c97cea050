#include "app/win32/WinResultView.h"

namespace kel {

namespace {

constexpr wchar_t kViewProperty[] = L"KelTallyResultView";
constexpr COLORREF kBackColour = RGB(192, 192, 192);

}  // namespace

WinResultView::~WinResultView()
{
    if (m_control != nullptr && IsWindow(m_control)) {
        SetWindowLongPtrW(m_control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_previousProc));
        RemovePropW(m_control, kViewProperty);
    }
}

void WinResultView::Attach(HWND control)
{
    m_control = control;
    SetPropW(control, kViewProperty, this);
    m_previousProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WinResultView::ControlProc)));
}

void WinResultView::ConfigureRun(int, int, int, int, int)
{
    {
        const std::lock_guard guard(m_lock);
        m_hasResults = 0;
    }
    InvalidateRect(m_control, nullptr, FALSE);
}

void WinResultView::AddPassResults(int, const double*, int, double, int)
{
    {
        const std::lock_guard guard(m_lock);
        m_hasResults = 1;
    }
    // Safe from the worker thread: the paint follows on the control's thread.
    InvalidateRect(m_control, nullptr, FALSE);
}

void WinResultView::SetDisplayMode(int showGraph)
{
    m_showGraph = showGraph != 0 ? 1 : 0;
    InvalidateRect(m_control, nullptr, FALSE);
}

int WinResultView::HasResults() const
{
    const std::lock_guard guard(m_lock);
    return m_hasResults;
}

LRESULT CALLBACK WinResultView::ControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* view = static_cast<WinResultView*>(GetPropW(window, kViewProperty));
    if (view == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    if (message == WM_PAINT) {
        view->OnPaint();
        return 0;
    }
    if (message == WM_ERASEBKGND) {
        return 1;  // the paint covers every pixel
    }
    return CallWindowProcW(view->m_previousProc, window, message, wParam, lParam);
}

void WinResultView::OnPaint()
{
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(m_control, &paint);
    RECT client;
    GetClientRect(m_control, &client);
    const HBRUSH back = CreateSolidBrush(kBackColour);
    FillRect(dc, &client, back);
    DeleteObject(back);
    EndPaint(m_control, &paint);
}

}  // namespace kel
