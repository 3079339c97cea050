#pragma once
// Running figures over the passes of one kind: the lowest and highest sample
// of passes 1 to n, and the mean of their whole-pass rates (not of the
// samples). Pass 1 of a kind starts them afresh.

#include <cstdio>
#include <string>

namespace kel {

// A rate as the results are written out: "%6.3lf MB/s", at least six
// characters with three decimals, never cut.
inline std::string RateText(double rate)
{
    const int length = std::snprintf(nullptr, 0, "%6.3f MB/s", rate);
    std::string text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, '\0');
    std::snprintf(text.data(), text.size(), "%6.3f MB/s", rate);
    text.resize(text.size() - 1);
    return text;
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
