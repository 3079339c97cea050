#pragma once
// The fonts and colours of the results view, made once per view, and text
// output aligned the way the layout rules place it: on its baseline, on an
// opaque background.

#include <QFont>
#include <QImage>
#include <QRgb>
#include <QString>

namespace kel {

// Character-cell heights in pixels (ascent plus descent).
constexpr int kAxisFontCell = 12;
constexpr int kValueFontCell = 18;

constexpr QRgb kBackColour = qRgb(192, 192, 192);
constexpr QRgb kShadowColour = qRgb(128, 128, 128);
constexpr QRgb kLightColour = qRgb(255, 255, 255);
constexpr QRgb kBlackPen = qRgb(0, 0, 0);
constexpr QRgb kReadPen = qRgb(0, 0, 255);
constexpr QRgb kWritePen = qRgb(255, 0, 0);
constexpr QRgb kMinReadPen = qRgb(0, 0, 192);
constexpr QRgb kMinWritePen = qRgb(192, 0, 0);

enum class TextAnchor {
    CentreBaseline,  // horizontal centre at x, baseline at y
    LeftBaseline,    // left edge at x, baseline at y
};

struct DrawingObjects {
    DrawingObjects();

    QFont axisFont;     // scale labels, captions, legend
    QFont valueFont;    // "Min:", "Max:", "Avg:" and the values
    QFont headingFont;  // section headings of the text view
};

// Finds the pixel size whose ascent plus descent comes closest to the cell
// height without passing it, since the layout was made for fonts sized by cell.
QFont FontWithCellHeight(const QString& family, int cellHeight, QFont::Weight weight);

// Black text; its cell (advance width, ascent to descent) is first filled with
// the background colour. Each call paints on its own, so text and the raw
// pixel drawing around it overlap in the order they are drawn.
void DrawOpaqueText(QImage& image, const QFont& font, int x, int y, TextAnchor anchor, const QString& text);

}  // namespace kel
