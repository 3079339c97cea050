#pragma once
// Running figures over the passes of one kind: the lowest and highest sample
// of passes 1 to n, and the mean of their whole-pass rates (not of the
// samples). Pass 1 of a kind starts them afresh. The lowest and highest are
// those of the samples themselves, however fast or slow; only before the
// first sample do they hold 9999 and -9999.

#include "platform/DecimalText.h"

#include <string>

namespace kel {

// A rate as the results are written out: "%6.3lf MB/s", at least six
// characters with three decimals, never cut, with a point whatever the locale.
inline std::string RateText(double rate)
{
    return FixedText(rate, 3, 6) + " MB/s";
}

struct PassStatistics {
    double minRate = 9999.0;
    double maxRate = -9999.0;
    double rateSum = 0.0;
    int passNumber = 0;
    bool hasSample = false;

    void Add(int pass, const double* samples, int sampleCount, double passRate)
    {
        if (pass == 1) {
            minRate = 9999.0;
            maxRate = -9999.0;
            rateSum = 0.0;
            hasSample = false;
        }
        for (int i = 0; i < sampleCount; ++i) {
            if (!hasSample || samples[i] < minRate) {
                minRate = samples[i];
            }
            if (!hasSample || samples[i] > maxRate) {
                maxRate = samples[i];
            }
            hasSample = true;
        }
        rateSum += passRate;
        passNumber = pass;
    }

    double Average() const { return rateSum / passNumber; }
};

}  // namespace kel
