#pragma once
// Collects the record of a run while it goes on. The engine hands the
// recorder each finished pass (on its worker thread) as it would the results
// view, and the recorder passes every call on to the next sink, so that it
// can stand in front of a view or the runner's printed lines:
//
//   RunRecorder recorder(&view);
//   recorder.Begin("keltally", parameters, folder, fileSystem);
//   tester.SetRun(folder, parameters, dialog, &recorder);
//   tester.Start();
//   ...once the run has finished:
//   recorder.Finish(tester.Outcome());
//   WriteReport(path, RecordJson(recorder.Record()));

#include "record/RunRecord.h"
#include "engine/PassStatistics.h"
#include "engine/RunObservers.h"

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>

namespace kel {

class RunRecorder : public PassResultSink {
public:
    // keepSamples: whether the passes keep their samples (a record that is
    // written out needs them; the summaries do not).
    explicit RunRecorder(PassResultSink* next = nullptr, bool keepSamples = true);

    // Starts a new record, stamped with the current time; earlier passes are
    // forgotten. Call it before the run starts.
    void Begin(const std::string& program, const RunParameters& parameters, const std::string& directory,
               const FileSystemInfo& fileSystem);
    // The run's options and the link of the drive that holds its folder;
    // after Begin.
    void SetRunDetails(const RunOptions& options, const std::optional<InterfaceLink>& link);
    void ConfigureRun(int readReps, int writeReps, int simultaneous, int minRead, int minWrite) override;
    void AddPassResults(int passNumber, const double* samples, int sampleCount, double passRate,
                        int isWrite) override;
    // Kept with the pass AddPassResults recorded last.
    void AddPassFigures(const PassFigures& figures) override;
    // Stamps the finish time and keeps how the run ended.
    void Finish(const RunOutcome& outcome);

    // The record as it stands, summaries included.
    RunRecord Record() const;

private:
    struct KindFigures {
        PassStatistics statistics;
        int passes = 0;
        std::int64_t samples = 0;
        std::int64_t samplesBelowMinimum = 0;
    };

    PassResultSink* m_next;
    bool m_keepSamples;
    mutable std::mutex m_mutex;
    RunRecord m_record;
    KindFigures m_writes;
    KindFigures m_reads;
};

}  // namespace kel
