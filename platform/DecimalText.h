#pragma once
// Numbers as text with a point for decimals whatever the locale. The figures
// are read by people and scripts alike, and printf-style formatting follows
// LC_NUMERIC, which a Qt program takes from the environment.

#include <string>

namespace kel {

// value with decimals digits after the point, right-aligned in at least width
// characters: what "%*.*f" gives in the C locale.
std::string FixedText(double value, int decimals, int width = 0);

// The shortest text that reads back as the same value ("1.5", "1e+21").
std::string ShortestText(double value);

}  // namespace kel
