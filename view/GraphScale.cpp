#include "view/GraphScale.h"

#include "platform/TextRules.h"

#include <charconv>

namespace kel {

std::optional<GraphScale> ParseGraphScale(std::string_view text)
{
    if (EqualsIgnoringAsciiCase(text, "auto")) {
        return FittedGraphScale();
    }
    // Digits only: from_chars alone would take a sign or stop early.
    if (text.empty() || text.size() > 7) {
        return std::nullopt;
    }
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
    }
    int top = 0;
    std::from_chars(text.data(), text.data() + text.size(), top);
    if (top < 1 || top > kMaxScaleTop) {
        return std::nullopt;
    }
    return GraphScale {false, top};
}

std::string GraphScaleText(const GraphScale& scale)
{
    return scale.fit ? std::string("auto") : std::to_string(scale.fixedTop);
}

std::string GraphScaleRefusal(std::string_view text)
{
    return "--scale needs auto or a whole number of MB/s from " + std::to_string(kMinScaleTop) + " to " +
           std::to_string(kMaxScaleTop) + ", not '" + std::string(text) + "'";
}

int FittedScaleTop(double fastest)
{
    // Written so that NaN takes this branch as well.
    if (!(fastest > kMinScaleTop)) {
        return kMinScaleTop;
    }
    for (long long decade = 1; decade <= kMaxScaleTop; decade *= 10) {
        for (const long long step : {1LL, 2LL, 5LL}) {
            const long long top = step * decade;
            if (top > kMaxScaleTop) {
                return kMaxScaleTop;
            }
            if (static_cast<double>(top) >= fastest) {
                return static_cast<int>(top);
            }
        }
    }
    return kMaxScaleTop;
}

}  // namespace kel
