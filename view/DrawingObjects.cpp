#include "view/DrawingObjects.h"

#include <QFontMetrics>
#include <QPainter>

namespace kel {

namespace {

QFont MakeFont(const QString& family, QFont::Weight weight, int pixelSize)
{
    QFont font(family);
    font.setWeight(weight);
    font.setPixelSize(pixelSize);
    font.setFixedPitch(family.contains(QStringLiteral("Mono")));
    // Crisp, unsmoothed glyphs: the layout is pixel-exact, and the same run
    // should give the same pixels on every machine.
    font.setStyleStrategy(QFont::NoAntialias);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

}  // namespace

QFont FontWithCellHeight(const QString& family, int cellHeight, QFont::Weight weight)
{
    for (int pixelSize = cellHeight; pixelSize > 1; --pixelSize) {
        QFont font = MakeFont(family, weight, pixelSize);
        const QFontMetrics metrics(font);
        if (metrics.ascent() + metrics.descent() <= cellHeight) {
            return font;
        }
    }
    return MakeFont(family, weight, 1);
}

DrawingObjects::DrawingObjects()
    : axisFont(FontWithCellHeight(QStringLiteral("Liberation Sans"), kAxisFontCell, QFont::Normal)),
      valueFont(FontWithCellHeight(QStringLiteral("Liberation Mono"), kValueFontCell, QFont::Normal)),
      headingFont(FontWithCellHeight(QStringLiteral("Liberation Mono"), kValueFontCell, QFont::Bold))
{
}

void DrawOpaqueText(QImage& image, const QFont& font, int x, int y, TextAnchor anchor, const QString& text)
{
    if (image.isNull()) {
        return;
    }
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(text);
    const int left = anchor == TextAnchor::CentreBaseline ? x - width / 2 : x;
    QPainter painter(&image);
    painter.fillRect(left, y - metrics.ascent(), width, metrics.ascent() + metrics.descent(), QColor(kBackColour));
    painter.setFont(font);
    painter.setPen(QColor(kBlackPen));
    painter.drawText(left, y, text);
}

}  // namespace kel
