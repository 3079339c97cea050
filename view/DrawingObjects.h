#pragma once
// The fonts of the results view's Qt painter, made once per view, and the
// canvas that draws with them on a QImage.

#include "view/Canvas.h"

#include <QFont>
#include <QImage>
#include <QString>

namespace kel {

struct DrawingObjects {
    DrawingObjects();

    QFont axisFont;     // scale labels, captions, legend
    QFont valueFont;    // "Min:", "Max:", "Avg:" and the values
    QFont headingFont;  // section headings of the text view
};

// Finds the pixel size whose ascent plus descent comes closest to the cell
// height without passing it, since the layout was made for fonts sized by cell.
QFont FontWithCellHeight(const QString& family, int cellHeight, QFont::Weight weight);

// The objects every view of this process draws with, made at first use
// (a QGuiApplication must exist by then).
const DrawingObjects& SharedDrawingObjects();

// A canvas on an RGB32 image: pixels straight into its rows, text with
// QPainter in the objects' fonts. The objects, and an image it is given,
// must outlive it.
class QtCanvas : public Canvas {
public:
    QtCanvas(QImage& image, const DrawingObjects& objects) : m_image(&image), m_objects(objects) {}
    // On an image of its own of that size in device-independent pixels and
    // as many more image pixels as the ratio asks (none for an empty size).
    QtCanvas(Size size, const DrawingObjects& objects, double pixelRatio = 1.0);
    QtCanvas(const QtCanvas& other) = delete;
    QtCanvas& operator=(const QtCanvas&) = delete;
    const QImage& Image() const { return *m_image; }
    Size Dimensions() const override;
    double PixelRatio() const override { return m_image->devicePixelRatio(); }
    Size DevicePixels() const override;
    Colour* Row(int y) override;
    TextExtent MeasureText(FontRole font, std::string_view text) const override;
    void DrawBaselineText(FontRole font, int x, int y, std::string_view text) override;

private:
    const QFont& FontOf(FontRole font) const;

    QImage m_ownImage;
    QImage* m_image;
    const DrawingObjects& m_objects;
};

}  // namespace kel
