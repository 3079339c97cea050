#include "app/ControlGeometry.h"

#include "app/DialogLayout.h"

#include <QWidget>

namespace kel {

QRect PixelRect(int x, int y, int width, int height)
{
    return QRect(DluToPixelsX(x), DluToPixelsY(y), DluToPixelsX(width), DluToPixelsY(height));
}

void PlaceLabel(QWidget* label, QRect rect, bool rightAligned)
{
    const int needed = label->sizeHint().width();
    if (needed > rect.width()) {
        if (rightAligned) {
            rect.setLeft(rect.right() + 1 - needed);
        } else {
            rect.setWidth(needed);
        }
    }
    label->setGeometry(rect);
}

}  // namespace kel
