#include "view/Canvas.h"

#include "view/LineRaster.h"

namespace kel {

void DrawOpaqueText(Canvas& canvas, FontRole font, int x, int y, TextAnchor anchor, std::string_view text)
{
    if (canvas.Dimensions().IsEmpty()) {
        return;
    }
    const TextExtent extent = canvas.MeasureText(font, text);
    const int left = anchor == TextAnchor::CentreBaseline ? x - extent.width / 2 : x;
    FillImageRect(canvas, left, y - extent.ascent, left + extent.width, y + extent.descent, kBackColour);
    canvas.DrawBaselineText(font, left, y, text);
}

}  // namespace kel
