#include "drives/FitDropDown.h"

#include <algorithm>

namespace kel {

int FitDropDownHeight(int currentHeight, int itemHeight, int itemCount)
{
    if (itemCount <= 0) {
        return currentHeight;
    }
    return currentHeight + 3 + itemHeight * std::min(itemCount, kDropDownVisibleItems);
}

}  // namespace kel
