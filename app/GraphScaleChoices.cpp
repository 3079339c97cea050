#include "app/GraphScaleChoices.h"

namespace kel {

std::vector<GraphScaleChoice> GraphScaleChoices(const GraphScale& current)
{
    std::vector<GraphScaleChoice> choices {
        {"Graph Scale &Automatic (0 to 20 MB/s While the Results Fit)", DefaultGraphScale()},
        {"Graph Scale 0 to &20 MB/s", FixedGraphScale(kDefaultScaleTop)},
        {"Graph Scale &Fitted to the Results", FittedGraphScale()}};
    if (current.mode == ScaleMode::Fixed && current.fixedTop != kDefaultScaleTop) {
        choices.push_back({"Graph Scale 0 to " + std::to_string(current.fixedTop) + " MB/s", current});
    }
    return choices;
}

}  // namespace kel
