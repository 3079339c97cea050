#pragma once
// The rate scale of the results graph: the fixed scale of 0 to 20 MB/s by
// default, a fixed top of any whole number of MB/s, or a scale fitted to the
// results, whose top is the next round value (1, 2 or 5 x 10^n MB/s) at or
// above the fastest sample so far. Plain C++, so the runner can read the
// same choice from its command line without the drawing libraries.

#include <optional>
#include <string>
#include <string_view>

namespace kel {

constexpr int kDefaultScaleTop = 20;       // MB/s at the top gridline by default
constexpr int kMinScaleTop = 1;            // a fitted scale never goes below this
constexpr int kMaxScaleTop = 1'000'000;    // nor above this, and no fixed top may

struct GraphScale {
    bool fit = false;
    int fixedTop = kDefaultScaleTop;  // MB/s; used when fit is false

    bool operator==(const GraphScale&) const = default;
};

constexpr GraphScale DefaultGraphScale()
{
    return GraphScale {};
}

constexpr GraphScale FittedGraphScale()
{
    return GraphScale {true, kDefaultScaleTop};
}

// "auto" (any letter case) for the fitted scale, or a whole number of MB/s
// from 1 to 1,000,000 for a fixed top; nothing else, no blanks. The default
// scale is "20".
std::optional<GraphScale> ParseGraphScale(std::string_view text);

// The form ParseGraphScale reads: "auto" or the top in MB/s.
std::string GraphScaleText(const GraphScale& scale);

// Why --scale refused text, for the programs that take the option.
std::string GraphScaleRefusal(std::string_view text);

// The smallest 1, 2 or 5 x 10^n MB/s that is at least fastest, kept within
// kMinScaleTop and kMaxScaleTop; kMinScaleTop for a rate that is not a
// positive number.
int FittedScaleTop(double fastest);

}  // namespace kel
