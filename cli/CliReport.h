#pragma once
// What the headless runner tells while a run goes on and after it: one line
// per finished pass with its longest stall below it, a progress line on a
// terminal, the minimum, maximum and average of each kind as the text view
// shows them with its stall, stream verdict and cache cliff, the bytes
// verified, and the engine's messages. A write to standard output or error that fails (a closed pipe, a
// full disk) is noted, so that the runner can stop the run: its output is
// what the user asked for.

#include "record/RunRecord.h"
#include "engine/RunObservers.h"
#include "platform/MessageSink.h"

#include <atomic>
#include <functional>
#include <cstdio>
#include <mutex>
#include <string>

namespace kel {

class CliReport : public PassResultSink, public MessageSink {
public:
    // lines: where the pass lines and the summary go (standard output, or
    // standard error when standard output carries the record).
    CliReport(std::FILE* lines, bool progress) : m_lines(lines), m_progress(progress) {}

    void ConfigureRun(int readReps, int writeReps, int simultaneous, int minRead, int minWrite) override;
    void AddPassResults(int passNumber, const double* samples, int sampleCount, double passRate, int isWrite) override;
    // A line below the pass's: its longest stall, where it came.
    void AddPassFigures(const PassFigures& figures) override;
    // Engine messages go to standard error at once; the run's outcome comes from the engine.
    void ShowMessageBox(const std::string& text, unsigned type, const std::atomic<std::int32_t>* cancel) override;

    // The per-kind summary after the run, with the samples below a kind's
    // minimum rate and a note when direct I/O was refused.
    void PrintSummary(const RunRecord& record);
    // Text for standard error, such as the end of a stopped run.
    void PrintError(const std::string& text);

    // The system's code of the first write to standard output or error that
    // failed, or 0.
    int OutputError() const { return m_outputError.load(std::memory_order_acquire); }
    // Called once, on the writing thread, when the first write fails: the
    // run stops as for a signal, so that it can still delete its files.
    void SetOnOutputFailure(std::function<void()> onFailure) { m_onOutputFailure = std::move(onFailure); }

private:
    void Write(std::FILE* stream, const std::string& text);
    void ClearProgressLocked();

    std::FILE* m_lines;
    bool m_progress;
    std::mutex m_mutex;
    int m_readReps = 0;
    int m_writeReps = 0;  // the Record passes that are reported: none in a simultaneous run
    std::string m_progressText;  // the progress line as last written
    std::atomic<int> m_outputError {0};
    std::function<void()> m_onOutputFailure;
};

}  // namespace kel
