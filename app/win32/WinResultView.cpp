#include "app/win32/WinResultView.h"

#include <cmath>
#include <utility>

namespace kel {

namespace {

constexpr wchar_t kViewProperty[] = L"KelTallyResultView";

double ScreenPixelRatio(HWND window)
{
    const HDC dc = GetDC(window);
    const int dpi = dc != nullptr ? GetDeviceCaps(dc, LOGPIXELSX) : 0;
    if (dc != nullptr) {
        ReleaseDC(window, dc);
    }
    return dpi > 96 ? dpi / 96.0 : 1.0;
}

}  // namespace

WinResultView::~WinResultView()
{
    if (m_control != nullptr && IsWindow(m_control)) {
        SetWindowLongPtrW(m_control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_previousProc));
        RemovePropW(m_control, kViewProperty);
    }
}

void WinResultView::Attach(HWND control, HWND notified, UINT passDrawn)
{
    m_notified = notified;
    m_passDrawn = passDrawn;
    RECT client;
    GetClientRect(control, &client);
    // The program is aware of the screen's scale: on a screen at 150 % the
    // control has 1.5 times the pixels, and the images are drawn at that
    // ratio so that their layout stays the one made for 96 dots per inch.
    const double ratio = ScreenPixelRatio(control);
    const Size size(static_cast<int>(std::lround((client.right - client.left) / ratio)),
                    static_cast<int>(std::lround((client.bottom - client.top) / ratio)));
    m_drawing = std::make_unique<ResultDrawing>(size, DefaultGraphScale(),
                                                [](Size logical, double pixelRatio) -> std::unique_ptr<Canvas> {
                                                    return std::make_unique<GdiCanvas>(logical, pixelRatio);
                                                });
    m_drawing->Resize(size, ratio);
    m_control = control;
    SetPropW(control, kViewProperty, this);
    m_previousProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WinResultView::ControlProc)));
}

void WinResultView::ConfigureRun(int readReps, int writeReps, int simultaneous, int minRead, int minWrite)
{
    if (m_drawing != nullptr) {
        m_drawing->ConfigureRun(readReps, writeReps, simultaneous, minRead, minWrite);
        InvalidateRect(m_control, nullptr, FALSE);
    }
}

void WinResultView::AddPassResults(int passNumber, const double* samples, int sampleCount, double passRate,
                                   int isWrite)
{
    if (m_drawing != nullptr) {
        m_drawing->AddPassResults(passNumber, samples, sampleCount, passRate, isWrite);
        // Safe from the worker thread: the paint follows on the control's thread.
        InvalidateRect(m_control, nullptr, FALSE);
        PostMessageW(m_notified, m_passDrawn, 0, 0);
    }
}

void WinResultView::AddPassFigures(const PassFigures& figures)
{
    if (m_drawing != nullptr) {
        m_drawing->AddPassFigures(figures);
        InvalidateRect(m_control, nullptr, FALSE);
    }
}

void WinResultView::SetDisplayMode(int showGraph)
{
    m_showGraph = showGraph != 0 ? 1 : 0;
    InvalidateRect(m_control, nullptr, FALSE);
}

int WinResultView::HasResults() const
{
    return m_drawing != nullptr ? m_drawing->HasResults() : 0;
}

void WinResultView::AddComparedPass(int run, int passNumber, int passCount, const double* samples, int sampleCount,
                                    bool isWrite)
{
    if (m_drawing != nullptr) {
        m_drawing->AddComparedPass(run, passNumber, passCount, samples, sampleCount, isWrite);
        InvalidateRect(m_control, nullptr, FALSE);
    }
}

void WinResultView::ClearCompared()
{
    if (m_drawing != nullptr) {
        m_drawing->ClearCompared();
        InvalidateRect(m_control, nullptr, FALSE);
    }
}

void WinResultView::SetRunNames(std::vector<std::string> names)
{
    if (m_drawing != nullptr) {
        m_drawing->SetRunNames(std::move(names));
        InvalidateRect(m_control, nullptr, FALSE);
    }
}

void WinResultView::SetScale(const GraphScale& scale)
{
    if (m_drawing != nullptr) {
        m_drawing->SetScale(scale);
        InvalidateRect(m_control, nullptr, FALSE);
    }
}

GraphScale WinResultView::Scale() const
{
    return m_drawing != nullptr ? m_drawing->Scale() : DefaultGraphScale();
}

DrawnPass WinResultView::LastPass() const
{
    return m_drawing != nullptr ? m_drawing->LastPass() : DrawnPass {};
}

std::string WinResultView::ResultLines() const
{
    return m_drawing != nullptr ? m_drawing->ResultLines() : std::string();
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
    m_drawing->WithCanvas(m_showGraph != 0, [dc](const Canvas& canvas) {
        const Size size = canvas.DevicePixels();
        BitBlt(dc, 0, 0, size.width, size.height, static_cast<const GdiCanvas&>(canvas).Dc(), 0, 0, SRCCOPY);
    });
    EndPaint(m_control, &paint);
}

}  // namespace kel
