#pragma once
// The dialog's drop-down lists: how many rows the opened list shows and how
// wide it opens.

class QComboBox;

namespace kel {

// The opened list shows every item up to 16 and scrolls beyond. It is made
// wide enough for its longest text, which the narrow closed box may cut.
void FitDropDown(QComboBox* list);

}  // namespace kel
