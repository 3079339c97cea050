#pragma once
// The rate scale of the results graph. By default (automatic) the graph
// shows 0 to 20 MB/s while the results fit under it and switches to the
// fitted scale once a sample lies above, so the graph never hides a result.
// The user may instead fix the top at any whole number of MB/s (the curves
// above it are then marked at the top edge), or always fit the scale to the
// results. Plain C++, so the runner can read the same choice from its command
// line without the drawing libraries.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kel {

constexpr int kDefaultScaleTop = 20;       // MB/s at the top gridline by default
constexpr int kMinScaleTop = 1;            // a fitted scale never goes below this
constexpr int kMaxScaleTop = 1'000'000;    // nor above this, and no fixed top may

enum class ScaleMode {
    Automatic,  // fixedTop while every sample fits under it, else fitted
    Fixed,      // fixedTop, whatever the results
    Fitted,     // fitted to the results from the first sample on
};

struct GraphScale {
    ScaleMode mode = ScaleMode::Automatic;
    int fixedTop = kDefaultScaleTop;  // MB/s; the top of Fixed, and of Automatic while the results fit

    bool operator==(const GraphScale&) const = default;
};

constexpr GraphScale DefaultGraphScale()
{
    return GraphScale {};
}

constexpr GraphScale FittedGraphScale()
{
    return GraphScale {ScaleMode::Fitted, kDefaultScaleTop};
}

constexpr GraphScale FixedGraphScale(int top)
{
    return GraphScale {ScaleMode::Fixed, top};
}

// "auto" (any letter case) for the fitted scale, "default" (any letter case)
// for the automatic one, or a whole number of MB/s from 1 to 1,000,000 for a
// fixed top; nothing else, no blanks.
std::optional<GraphScale> ParseGraphScale(std::string_view text);

// The form ParseGraphScale reads: "default", "auto" or the top in MB/s.
std::string GraphScaleText(const GraphScale& scale);

// Why --scale refused text, for the programs that take the option.
std::string GraphScaleRefusal(std::string_view text);

// The smallest round top at or above fastest, kept within kMinScaleTop and
// kMaxScaleTop; kMinScaleTop for a rate that is not a positive number. From
// 10 MB/s up the tops are 10, 12, 15, 18, 20, 25, 30, 35, 40, 50, 60, 70 and
// 80 x 10^n, so the top lies at most 25 % above the fastest sample and each
// of the ten gridlines has a label of at most one decimal. Below 10 MB/s the
// tops are the whole numbers 1 to 8 and 10 (within 25 % from 4 MB/s up).
int FittedScaleTop(double fastest);

// Every top FittedScaleTop can give, lowest first.
std::vector<int> FittedScaleTops();

// The top a scale shows for results whose fastest finite sample is fastest
// MB/s (0 before any sample): what ScaleMode asks for.
int ShownScaleTop(const GraphScale& scale, double fastest);

// True when the scale leaves samples above its top: a fixed scale with a
// sample faster than its top, which the graph then marks.
bool HidesResults(const GraphScale& scale, double fastest);

}  // namespace kel
