#pragma once
// Running figures over the passes of one kind: the lowest and highest sample
// of passes 1 to n, and the mean of their whole-pass rates (not of the
// samples). Pass 1 of a kind starts them afresh.

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

    void Add(int pass, const double* samples, int sampleCount, double passRate)
    {
        if (pass == 1) {
            minRate = 9999.0;
            maxRate = -9999.0;
            rateSum = 0.0;
        }
        for (int i = 0; i < sampleCount; ++i) {
            if (samples[i] < minRate) {
                minRate = samples[i];
            }
            if (samples[i] > maxRate) {
                maxRate = samples[i];
            }
        }
        rateSum += passRate;
        passNumber = pass;
    }

    double Average() const { return rateSum / passNumber; }
};

}  // namespace kel
