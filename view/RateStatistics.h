#pragma once
// Running values over the passes of one kind: lowest and highest sample, and
// the mean of the whole-pass rates (not of the samples). Pass 1 of either
// kind starts them afresh.

namespace kel {

struct RateStatistics {
    double minRate = 9999.0;
    double maxRate = -9999.0;
    double rateSum = 0.0;

    void Restart() { *this = RateStatistics {}; }

    void AddPass(const double* samples, int sampleCount, double passRate)
    {
        for (int i = 0; i < sampleCount; ++i) {
            if (samples[i] < minRate) {
                minRate = samples[i];
            }
            if (samples[i] > maxRate) {
                maxRate = samples[i];
            }
        }
        rateSum += passRate;
    }

    double Average(int passNumber) const { return rateSum / passNumber; }
};

}  // namespace kel
