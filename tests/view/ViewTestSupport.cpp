#include "ViewTestSupport.h"

namespace kel::test {

QRect InkBox(const QImage& image, const QRect& area, QRgb colour)
{
    QRect box;
    const QRect clipped = area & image.rect();
    for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
        for (int x = clipped.left(); x <= clipped.right(); ++x) {
            if (Pixel(image, x, y) == colour) {
                box |= QRect(x, y, 1, 1);
            }
        }
    }
    return box;
}

int CountPixels(const QImage& image, const QRect& area, QRgb colour)
{
    int count = 0;
    const QRect clipped = area & image.rect();
    for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
        for (int x = clipped.left(); x <= clipped.right(); ++x) {
            count += Pixel(image, x, y) == colour ? 1 : 0;
        }
    }
    return count;
}

int TopmostInColumn(const QImage& image, int x, QRgb colour)
{
    for (int y = 0; y < image.height(); ++y) {
        if (Pixel(image, x, y) == colour) {
            return y;
        }
    }
    return -1;
}

}  // namespace kel::test
