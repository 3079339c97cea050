#pragma once
// Height of an opened drop-down list that shows every item up to 16 and
// scrolls beyond: the closed height, 3 pixels, and one item height per shown
// item. A list without items keeps its height.

namespace kel {

constexpr int kDropDownVisibleItems = 16;

int FitDropDownHeight(int currentHeight, int itemHeight, int itemCount);

}  // namespace kel
