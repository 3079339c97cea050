#pragma once
// Hands each pass to every sink in turn: the console report and, when the
// runner writes the views as pictures, the results images.

#include "engine/RunObservers.h"

#include <vector>

namespace kel {

class PassFanOut : public PassResultSink {
public:
    void Add(PassResultSink* sink) { m_sinks.push_back(sink); }
    void ConfigureRun(int readReps, int writeReps, int simultaneous, int minRead, int minWrite) override
    {
        for (PassResultSink* sink : m_sinks) {
            sink->ConfigureRun(readReps, writeReps, simultaneous, minRead, minWrite);
        }
    }
    void AddPassResults(int passNumber, const double* samples, int sampleCount, double passRate, int isWrite) override
    {
        for (PassResultSink* sink : m_sinks) {
            sink->AddPassResults(passNumber, samples, sampleCount, passRate, isWrite);
        }
    }

private:
    std::vector<PassResultSink*> m_sinks;
};

}  // namespace kel
