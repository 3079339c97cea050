#include "view/DrawingObjects.h"

#include <QFontMetrics>
#include <QPainter>

#include <cmath>

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

QImage MakeImage(Size size, double pixelRatio)
{
    if (size.IsEmpty()) {
        return QImage();
    }
    if (pixelRatio == 1.0) {
        return QImage(size.width, size.height, QImage::Format_RGB32);
    }
    QImage image(static_cast<int>(std::lround(size.width * pixelRatio)),
                 static_cast<int>(std::lround(size.height * pixelRatio)), QImage::Format_RGB32);
    image.setDevicePixelRatio(pixelRatio);
    return image;
}

QString TextOf(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
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

const DrawingObjects& SharedDrawingObjects()
{
    static const DrawingObjects objects;
    return objects;
}

QtCanvas::QtCanvas(Size size, const DrawingObjects& objects, double pixelRatio)
    : m_ownImage(MakeImage(size, pixelRatio)),
      m_image(&m_ownImage),
      m_objects(objects)
{
}

Size QtCanvas::Dimensions() const
{
    const double ratio = m_image->devicePixelRatio();
    if (m_image->isNull() || ratio == 1.0) {
        return DevicePixels();
    }
    return Size(static_cast<int>(std::lround(m_image->width() / ratio)),
                static_cast<int>(std::lround(m_image->height() / ratio)));
}

Size QtCanvas::DevicePixels() const
{
    return m_image->isNull() ? Size() : Size(m_image->width(), m_image->height());
}

Colour* QtCanvas::Row(int y)
{
    return reinterpret_cast<Colour*>(m_image->scanLine(y));
}

TextExtent QtCanvas::MeasureText(FontRole font, std::string_view text) const
{
    const QFontMetrics metrics(FontOf(font));
    return {metrics.horizontalAdvance(TextOf(text)), metrics.ascent(), metrics.descent()};
}

void QtCanvas::DrawBaselineText(FontRole font, int x, int y, std::string_view text)
{
    QPainter painter(m_image);
    painter.setFont(FontOf(font));
    painter.setPen(QColor(kBlackPen));
    painter.drawText(x, y, TextOf(text));
}

const QFont& QtCanvas::FontOf(FontRole font) const
{
    switch (font) {
    case FontRole::Value: return m_objects.valueFont;
    case FontRole::Heading: return m_objects.headingFont;
    default: return m_objects.axisFont;
    }
}

}  // namespace kel
