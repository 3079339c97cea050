#include "view/GraphScale.h"

#include "platform/TextRules.h"

#include <array>
#include <charconv>

namespace kel {

namespace {

// Tops of one decade, in tenths of its lowest top: neighbours differ by at
// most 25 %.
constexpr std::array<long long, 13> kDecadeTops {10, 12, 15, 18, 20, 25, 30, 35, 40, 50, 60, 70, 80};
// Below 10 MB/s only whole tops, so every label keeps one decimal at most.
constexpr std::array<int, 8> kSmallTops {1, 2, 3, 4, 5, 6, 7, 8};

}  // namespace

std::optional<GraphScale> ParseGraphScale(std::string_view text)
{
    if (EqualsIgnoringAsciiCase(text, "auto")) {
        return FittedGraphScale();
    }
    if (EqualsIgnoringAsciiCase(text, "default")) {
        return DefaultGraphScale();
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
    return FixedGraphScale(top);
}

std::string GraphScaleText(const GraphScale& scale)
{
    switch (scale.mode) {
    case ScaleMode::Fitted:
        return "auto";
    case ScaleMode::Fixed:
        return std::to_string(scale.fixedTop);
    case ScaleMode::Automatic:
        break;
    }
    return "default";
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
    for (const int top : kSmallTops) {
        if (static_cast<double>(top) >= fastest) {
            return top;
        }
    }
    for (long long decade = 1; decade <= kMaxScaleTop; decade *= 10) {
        for (const long long tenths : kDecadeTops) {
            const long long top = tenths * decade;
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

std::vector<int> FittedScaleTops()
{
    std::vector<int> tops(kSmallTops.begin(), kSmallTops.end());
    for (long long decade = 1; decade <= kMaxScaleTop; decade *= 10) {
        for (const long long tenths : kDecadeTops) {
            if (tenths * decade <= kMaxScaleTop) {
                tops.push_back(static_cast<int>(tenths * decade));
            }
        }
    }
    return tops;
}

int ShownScaleTop(const GraphScale& scale, double fastest)
{
    switch (scale.mode) {
    case ScaleMode::Fixed:
        return scale.fixedTop;
    case ScaleMode::Fitted:
        return fastest > 0.0 ? FittedScaleTop(fastest) : kDefaultScaleTop;
    case ScaleMode::Automatic:
        break;
    }
    return fastest > scale.fixedTop ? FittedScaleTop(fastest) : scale.fixedTop;
}

bool HidesResults(const GraphScale& scale, double fastest)
{
    return fastest > ShownScaleTop(scale, fastest);
}

}  // namespace kel
