#pragma once
// A canvas drawn with GDI: a top-down 32-bit DIB section whose pixels the
// drawing rules set directly, and text in the view's GDI fonts ("MS Sans
// Serif" 12 and "Courier New" 18, regular and bold, heights by cell). With a
// pixel ratio above 1 the bitmap has that many more pixels and the fonts are
// made at the finer size, so text is drawn sharp rather than scaled up.

#include "view/Canvas.h"

#include <windows.h>

#include <array>

namespace kel {

class GdiCanvas : public Canvas {
public:
    // An empty size, or a bitmap the system refuses, gives no image.
    explicit GdiCanvas(Size size, double pixelRatio = 1.0);
    GdiCanvas(const GdiCanvas&) = delete;
    GdiCanvas& operator=(const GdiCanvas&) = delete;
    ~GdiCanvas() override;

    Size Dimensions() const override { return m_size; }
    double PixelRatio() const override { return m_ratio; }
    Size DevicePixels() const override { return m_device; }
    Colour* Row(int y) override;
    TextExtent MeasureText(FontRole font, std::string_view text) const override;
    void DrawBaselineText(FontRole font, int x, int y, std::string_view text) override;

    // The memory device context that holds the bitmap, for copying it out.
    HDC Dc() const { return m_dc; }

private:
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_previousBitmap = nullptr;
    HGDIOBJ m_previousFont = nullptr;
    Colour* m_bits = nullptr;
    Size m_size;
    Size m_device;
    double m_ratio = 1.0;
    std::array<HFONT, 3> m_fonts {};
};

}  // namespace kel
