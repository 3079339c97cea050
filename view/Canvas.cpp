#include "view/Canvas.h"

#include "view/LineRaster.h"

#include <cstddef>
#include <vector>

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

std::string ElideMiddle(const Canvas& canvas, FontRole font, std::string_view text, int maxWidth)
{
    if (canvas.MeasureText(font, text).width <= maxWidth) {
        return std::string(text);
    }
    // Where each UTF-8 character starts, and the text's end.
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0u) != 0x80u) {
            starts.push_back(i);
        }
    }
    starts.push_back(text.size());
    const std::size_t characters = starts.size() - 1;
    // Characters kept in front and at the back; the back gets the odd one.
    for (std::size_t kept = characters; kept-- > 0;) {
        const std::size_t front = kept / 2;
        const std::size_t back = kept - front;
        std::string elided(text.substr(0, starts[front]));
        elided += "\xE2\x80\xA6";
        elided += text.substr(starts[characters - back]);
        if (kept == 0 || canvas.MeasureText(font, elided).width <= maxWidth) {
            return elided;
        }
    }
    return "\xE2\x80\xA6";
}

}  // namespace kel
