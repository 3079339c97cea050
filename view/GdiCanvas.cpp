#include "view/GdiCanvas.h"

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

}  // namespace

GdiCanvas::GdiCanvas(Size size)
{
    m_fonts = {MakeFont(kAxisFontCell, FW_NORMAL, 0, L"MS Sans Serif"),
               MakeFont(kValueFontCell, FW_NORMAL, FIXED_PITCH, L"Courier New"),
               MakeFont(kValueFontCell, FW_BOLD, FIXED_PITCH, L"Courier New")};
    m_dc = CreateCompatibleDC(nullptr);
    if (size.IsEmpty() || m_dc == nullptr) {
        return;
    }
    BITMAPINFO info {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size.width;
    info.bmiHeader.biHeight = -size.height;  // top row first
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
    return m_bits + static_cast<std::ptrdiff_t>(y) * m_size.width;
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
    return {extent.cx, metrics.tmAscent, metrics.tmDescent};
}

void GdiCanvas::DrawBaselineText(FontRole font, int x, int y, std::string_view text)
{
    if (m_bits == nullptr) {
        return;
    }
    SelectObject(m_dc, m_fonts[static_cast<std::size_t>(font)]);
    const std::wstring wide = Wide(text);
    TextOutW(m_dc, x, y, wide.c_str(), static_cast<int>(wide.size()));
    GdiFlush();
}

}  // namespace kel
