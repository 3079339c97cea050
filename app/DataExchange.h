#pragma once
// The dialog's controls: placing them at their dialog-unit rectangles,
// reading a whole number from an edit's text (FieldCheck.h), and how the
// drop-down lists open (rows shown, width, the whole item text for a closed
// list too narrow).

#include "app/FieldCheck.h"

#include <QRect>
#include <QString>

#include <optional>

class QComboBox;
class QWidget;

namespace kel {

// Placing controls at their dialog-unit rectangles.
// A rectangle in dialog units, in pixels.
QRect PixelRect(int x, int y, int width, int height);

// Places a label at rect. The font here runs a little wider than the one the
// rectangles were made for, so a text that does not fit grows the label away
// from its aligned edge rather than being cut.
void PlaceLabel(QWidget* label, QRect rect, bool rightAligned);

// The toolkit-free checks (FieldCheck.h) on an edit's text.
std::optional<int> ParseWholeNumber(const QString& text);
FieldCheck CheckIntegerField(const QString& text, int minimum, int maximum);

// The same on an edit's text for a minimum rate (CheckRateEntry, RateEntryText).
FieldCheck CheckRateField(const QString& text, int maximumMBs);
QString RateFieldText(int thousandths);

// Once, when the list is made: the opened list is a scrolling list that holds
// to its number of visible rows (a menu-like popup shows every item), and the
// closed list's tooltip is the whole text of its current item.
void PrepareDropDown(QComboBox* list);

// The opened list shows every item up to 16 and scrolls beyond. It is made
// wide enough for its longest text, which the narrow closed box may cut.
void FitDropDown(QComboBox* list);

}  // namespace kel
