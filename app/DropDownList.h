#pragma once
// The dialog's drop-down lists: how many rows the opened list shows, how
// wide it opens, and the whole item text for a closed list too narrow to show
// it.

class QComboBox;

namespace kel {

// Once, when the list is made: the opened list is a scrolling list that holds
// to its number of visible rows (a menu-like popup shows every item), and the
// closed list's tooltip is the whole text of its current item.
void PrepareDropDown(QComboBox* list);

// The opened list shows every item up to 16 and scrolls beyond. It is made
// wide enough for its longest text, which the narrow closed box may cut.
void FitDropDown(QComboBox* list);

}  // namespace kel
