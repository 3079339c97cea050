#pragma once
// What the view's drawing rules draw on: an image of 32-bit pixels that the
// rules set one by one (lines, fills, frames), and text in the view's three
// fonts, measured and drawn on its baseline. The rules' coordinates are
// device-independent pixels; the canvas may hold more image pixels for each. Plain C++: a QPainter-backed
// canvas on Linux and a GDI one (a DIB section) on Windows stand behind it.

#include <cstdint>
#include <string>
#include <string_view>

namespace kel {

// A pixel as 0xffRRGGBB (the high byte is not looked at when reading).
using Colour = std::uint32_t;

constexpr Colour RgbColour(int r, int g, int b)
{
    return 0xff000000u | (static_cast<Colour>(r) << 16) | (static_cast<Colour>(g) << 8) | static_cast<Colour>(b);
}

struct Point {
    int x = 0;
    int y = 0;
    constexpr Point() = default;
    constexpr Point(int atX, int atY) : x(atX), y(atY) {}
    // From a toolkit's point type (anything with x() and y()).
    template <typename T>
        requires requires(const T& p) { p.x(); p.y(); }
    constexpr Point(const T& p) : x(p.x()), y(p.y())
    {
    }
    constexpr bool operator==(const Point&) const = default;
};

struct Size {
    int width = 0;
    int height = 0;
    constexpr Size() = default;
    constexpr Size(int w, int h) : width(w), height(h) {}
    // From a toolkit's size type (anything with width() and height()).
    template <typename T>
        requires requires(const T& s) { s.width(); s.height(); }
    constexpr Size(const T& s) : width(s.width()), height(s.height())
    {
    }
    constexpr bool IsEmpty() const { return width <= 0 || height <= 0; }
    constexpr bool operator==(const Size&) const = default;
};

// The view's fonts, by what they write.
enum class FontRole {
    Axis,     // scale labels, captions, legend
    Value,    // "Min:", "Max:", "Avg:" and the values
    Heading,  // section headings of the text view
};

// Character-cell heights in pixels (ascent plus descent) of the fonts: the
// layout was made for fonts sized by cell.
constexpr int kAxisFontCell = 12;
constexpr int kValueFontCell = 18;

struct TextExtent {
    int width = 0;  // advance width
    int ascent = 0;
    int descent = 0;
};

class Canvas {
public:
    virtual ~Canvas() = default;
    // In device-independent pixels; empty when there is no image to draw on.
    virtual Size Dimensions() const = 0;
    // Image pixels per device-independent pixel (above 1 on a screen at 150 %
    // or 200 %), and the image's size in its own pixels.
    virtual double PixelRatio() const { return 1.0; }
    virtual Size DevicePixels() const { return Dimensions(); }
    // The image pixels of row y (0 <= y < DevicePixels().height), left to right.
    virtual Colour* Row(int y) = 0;
    // Text is UTF-8.
    virtual TextExtent MeasureText(FontRole font, std::string_view text) const = 0;
    // Black text with its left edge at x and its baseline at y; the pixels
    // around the glyphs stay as they are.
    virtual void DrawBaselineText(FontRole font, int x, int y, std::string_view text) = 0;
};

constexpr Colour kBackColour = RgbColour(192, 192, 192);
constexpr Colour kShadowColour = RgbColour(128, 128, 128);
constexpr Colour kLightColour = RgbColour(255, 255, 255);
constexpr Colour kBlackPen = RgbColour(0, 0, 0);
constexpr Colour kReadPen = RgbColour(0, 0, 255);
constexpr Colour kWritePen = RgbColour(255, 0, 0);
constexpr Colour kMinReadPen = RgbColour(0, 0, 192);
constexpr Colour kMinWritePen = RgbColour(192, 0, 0);

enum class TextAnchor {
    CentreBaseline,  // horizontal centre at x, baseline at y
    LeftBaseline,    // left edge at x, baseline at y
};

// Black text; its cell (advance width, ascent to descent) is first filled with
// the background colour. Each call paints on its own, so text and the raw
// pixel drawing around it overlap in the order they are drawn.
void DrawOpaqueText(Canvas& canvas, FontRole font, int x, int y, TextAnchor anchor, std::string_view text);

// The text as it is when it fits in maxWidth pixels; otherwise its start and
// end around an ellipsis, as much of them as fits (whole characters).
std::string ElideMiddle(const Canvas& canvas, FontRole font, std::string_view text, int maxWidth);

}  // namespace kel
