#pragma once
// Placing controls at their dialog-unit rectangles.

#include <QRect>

class QWidget;

namespace kel {

// A rectangle in dialog units, in pixels.
QRect PixelRect(int x, int y, int width, int height);

// Places a label at rect. The font here runs a little wider than the one the
// rectangles were made for, so a text that does not fit grows the label away
// from its aligned edge rather than being cut.
void PlaceLabel(QWidget* label, QRect rect, bool rightAligned);

}  // namespace kel
