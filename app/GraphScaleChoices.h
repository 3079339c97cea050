#pragma once
// The graph scales the context menu offers, with their item texts: the
// automatic scale, 0 to 20 MB/s, the fitted scale, and a fixed top that only
// the settings file can set when it is the one shown. Plain C++, for the
// menu of every toolkit.

#include "view/GraphScale.h"

#include <string>
#include <vector>

namespace kel {

struct GraphScaleChoice {
    std::string text;  // with the item's mnemonic
    GraphScale scale;
};

std::vector<GraphScaleChoice> GraphScaleChoices(const GraphScale& current);

}  // namespace kel
