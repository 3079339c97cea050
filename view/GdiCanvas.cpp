#include "view/GdiCanvas.h"

#include <cmath>
#include <string>

namespace kel {

namespace {

HFONT MakeFont(int cellHeight, int weight, DWORD pitch, const wchar_t* face)
{
    // A positive height asks for the character cell's height.
    return CreateFontW(cellHeight, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0,
                       NONANTIALIASED_QUALITY, pitch, face);
}

std::wstring Wide(std::string_view utf8)
{
    if (utf8.empty()) {
        return {};
    }
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), length);
    return wide;
}

int Scaled(double ratio, int v)
{
    return static_cast<int>(std::lround(v * ratio));
}

}  // namespace

GdiCanvas::GdiCanvas(Size size, double pixelRatio) : m_ratio(pixelRatio > 0.0 ? pixelRatio : 1.0)
{
    m_fonts = {MakeFont(Scaled(m_ratio, kAxisFontCell), FW_NORMAL, 0, L"MS Sans Serif"),
               MakeFont(Scaled(m_ratio, kValueFontCell), FW_NORMAL, FIXED_PITCH, L"Courier New"),
               MakeFont(Scaled(m_ratio, kValueFontCell), FW_BOLD, FIXED_PITCH, L"Courier New")};
    m_dc = CreateCompatibleDC(nullptr);
    const Size device(Scaled(m_ratio, size.width), Scaled(m_ratio, size.height));
    if (size.IsEmpty() || device.IsEmpty() || m_dc == nullptr) {
        return;
    }
    BITMAPINFO info {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = device.width;
    info.bmiHeader.biHeight = -device.height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    m_bitmap = CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (m_bitmap == nullptr || bits == nullptr) {
        return;
    }
    m_bits = static_cast<Colour*>(bits);
    m_size = size;
    m_device = device;
    m_previousBitmap = SelectObject(m_dc, m_bitmap);
    m_previousFont = SelectObject(m_dc, m_fonts[0]);
    SetBkMode(m_dc, TRANSPARENT);
    SetTextColor(m_dc, RGB(0, 0, 0));
    SetTextAlign(m_dc, TA_LEFT | TA_BASELINE);
}

GdiCanvas::~GdiCanvas()
{
    if (m_dc != nullptr) {
        if (m_previousBitmap != nullptr) {
            SelectObject(m_dc, m_previousBitmap);
            SelectObject(m_dc, m_previousFont);
        }
        DeleteDC(m_dc);
    }
    if (m_bitmap != nullptr) {
        DeleteObject(m_bitmap);
    }
    for (const HFONT font : m_fonts) {
        if (font != nullptr) {
            DeleteObject(font);
        }
    }
}

Colour* GdiCanvas::Row(int y)
{
    GdiFlush();  // text GDI may still be drawing lands before the pixels are touched
    return m_bits + static_cast<std::ptrdiff_t>(y) * m_device.width;
}

TextExtent GdiCanvas::MeasureText(FontRole font, std::string_view text) const
{
    if (m_dc == nullptr) {
        return {};
    }
    const HGDIOBJ previous = SelectObject(m_dc, m_fonts[static_cast<std::size_t>(font)]);
    const std::wstring wide = Wide(text);
    SIZE extent {};
    GetTextExtentPoint32W(m_dc, wide.c_str(), static_cast<int>(wide.size()), &extent);
    TEXTMETRICW metrics {};
    GetTextMetricsW(m_dc, &metrics);
    SelectObject(m_dc, previous);
    // The rules lay text out in device-independent pixels.
    return {Scaled(1.0 / m_ratio, extent.cx), Scaled(1.0 / m_ratio, metrics.tmAscent),
            Scaled(1.0 / m_ratio, metrics.tmDescent)};
}

void GdiCanvas::DrawBaselineText(FontRole font, int x, int y, std::string_view text)
{
    if (m_bits == nullptr) {
        return;
    }
    SelectObject(m_dc, m_fonts[static_cast<std::size_t>(font)]);
    const std::wstring wide = Wide(text);
    TextOutW(m_dc, Scaled(m_ratio, x), Scaled(m_ratio, y), wide.c_str(), static_cast<int>(wide.size()));
    GdiFlush();
}

}  // namespace kel
