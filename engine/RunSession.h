#pragma once
// One run from the drive check to the finished record, the same for every
// front end: the dialog and the runner only show what the session hands
// them. The session checks the drive, begins the record, starts the tester,
// passes each finished pass on through the record to the front end's sink,
// and tells the front end the run's end once the record is finished.
//
//   RunSession session(services, &view, &listener);
//   session.Start(request);        // false: refused, and the user was told why
//   ...listener.RunSessionEnded(outcome) on the worker thread...
//   session.Record();              // the finished record

#include "engine/DriveTester.h"
#include "engine/RunObservers.h"
#include "engine/RunOutcome.h"
#include "engine/RunParameters.h"
#include "platform/PlatformServices.h"
#include "record/RunRecorder.h"

#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>

namespace kel {

struct DriveEntry;

// What a front end asks for.
struct RunRequest {
    std::string program;  // the program named in the record, e.g. "keltally"
    int driveLetter = 0;  // a letter of the services' drive table
    RunParameters parameters;
    RunOptions options;
    // The folder the user named instead of a drive, for the drive check's
    // messages; empty when the user chose a drive.
    std::string folderShown;
};

// Told once at the end of every run that started, on the worker thread,
// after the record is finished. It must not start the next run itself.
class RunSessionListener {
public:
    virtual ~RunSessionListener() = default;
    virtual void RunSessionEnded(const RunOutcome& outcome) = 0;
};

class RunSession : private RunEndSink {
public:
    // passes: the front end's view or printed lines (may be null); listener
    // may be null. keepSamples: whether the record keeps every sample (a
    // record that is saved or drawn needs them; summaries do not).
    RunSession(const PlatformServices& services, PassResultSink* passes, RunSessionListener* listener,
               bool keepSamples = true);
    RunSession(const RunSession&) = delete;
    RunSession& operator=(const RunSession&) = delete;
    // Stops a run still in progress and waits for it.
    ~RunSession() override;

    // Checks the drive and starts the run; false when the check refused it
    // (after telling the user through the services' message sink), when
    // beforeRun, called once the drive has passed, answers false, or when the
    // engine refused the parameters. No end is told for a run that did not
    // start. A run that starts but cannot make its thread ends at once, told.
    bool Start(const RunRequest& request, const std::function<bool(const DriveEntry& drive)>& beforeRun = {});
    // Asks the run to stop and returns at once; its end is told when the
    // worker has closed and deleted its files.
    void RequestStop();
    // Asks the run to stop and waits until it has ended.
    void Stop();
    // Waits until the run that was started last has ended and been told.
    void WaitForEnd();
    bool IsRunning() const { return m_tester.IsRunning() != 0; }

    // The last run's record; finished once its end has been told.
    RunRecord Record() const { return m_recorder.Record(); }
    // Whether a run has ended and its record is finished.
    bool HasFinishedRecord() const;
    const RunParameters& Parameters() const { return m_tester.Parameters(); }
    // The folder of the last run's test files.
    const std::string& RootPath() const { return m_tester.RootPath(); }
    DriveTester& Tester() { return m_tester; }
    const DriveTester& Tester() const { return m_tester; }

private:
    void RunEnded(const RunOutcome& outcome) override;

    PlatformServices m_services;
    RunSessionListener* m_listener;
    RunRecorder m_recorder;
    mutable std::mutex m_endMutex;
    std::condition_variable m_endTold;
    bool m_ended = true;
    bool m_begun = false;  // a run has started since the session was made
    // Last: destroyed first, so its run stops before the recorder goes.
    DriveTester m_tester;
};

}  // namespace kel
