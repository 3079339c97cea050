#pragma once
// Pixel helpers for the view tests. Every test uses the client area of the
// main dialog's results control.

#include "engine/RunObservers.h"

#include <QImage>
#include <QRect>
#include <QRgb>
#include <QSize>

#include <vector>

namespace kel::test {

inline const QSize kClient {510, 299};

inline QRgb Pixel(const QImage& image, int x, int y)
{
    return image.pixel(x, y) & 0xFFFFFFu;
}

inline constexpr QRgb Rgb(int r, int g, int b)
{
    return qRgb(r, g, b) & 0xFFFFFFu;
}

// Bounding box of the pixels of `colour` inside `area`; null when none.
QRect InkBox(const QImage& image, const QRect& area, QRgb colour = Rgb(0, 0, 0));

// Pixels of `colour` inside `area`.
int CountPixels(const QImage& image, const QRect& area, QRgb colour);

// The y of the topmost pixel of `colour` in column x, or -1.
int TopmostInColumn(const QImage& image, int x, QRgb colour);

// Hands one pass to a sink, its samples and whole-pass rate as given.
inline void AddPass(PassResultSink& sink, int passNumber, const std::vector<double>& samples, double passRate,
                    int isWrite)
{
    sink.AddPassResults(passNumber, samples.data(), static_cast<int>(samples.size()), passRate, isWrite);
}

}  // namespace kel::test
