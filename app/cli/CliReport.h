#pragma once
// What the headless runner tells while a run goes on and after it: one line
// per finished pass, a progress line on a terminal, the minimum, maximum and
// average of each kind as the text view shows them, and the passes with all
// their samples for the JSON file.

#include "engine/PassStatistics.h"
#include "engine/RunObservers.h"
#include "platform/MessageSink.h"

#include <QString>

#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

namespace kel {

struct ReportedPass {
    bool isWrite;
    int number;
    double rate;
    std::vector<double> samples;
};

class CliReport : public PassResultSink, public MessageSink {
public:
    CliReport(std::FILE* out, bool progress, bool keepSamples) : m_out(out), m_progress(progress), m_keepSamples(keepSamples)
    {
    }

    void ConfigureRun(int readReps, int writeReps, int simultaneous, int minRead, int minWrite) override;
    void AddPassResults(int passNumber, const double* samples, int sampleCount, double passRate, int isWrite) override;
    // Engine messages go to standard error at once; the run's outcome comes from the engine.
    void ShowMessageBox(const std::string& text, unsigned type, const std::atomic<std::int32_t>* cancel) override;

    // The per-kind summary, printed after the run.
    void PrintSummary();

    std::vector<ReportedPass> Passes() const;

private:
    void PrintProgress(int passNumber, bool isWrite);

    std::FILE* m_out;
    bool m_progress;
    bool m_keepSamples;
    mutable std::mutex m_mutex;
    int m_readReps = 0;
    int m_writeReps = 0;
    bool m_simultaneous = false;
    PassStatistics m_record;
    PassStatistics m_play;
    std::vector<ReportedPass> m_passes;
};

}  // namespace kel
