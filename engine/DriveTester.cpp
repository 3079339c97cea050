#include "engine/DriveTester.h"

#include "engine/EngineMessages.h"
#include "engine/ErrorReport.h"
#include "engine/TestRun.h"
#include "platform/DriveTable.h"
#include "platform/WorkerThread.h"

namespace kel {

namespace {

// The high-resolution counter when there is one; else, after telling the
// user, the millisecond count.
RunClock ChooseClock(const PlatformServices& services)
{
    std::uint64_t frequency = 0;
    if (services.clock->QueryFrequency(frequency)) {
        return RunClock(*services.clock, true, TicksFromCount(frequency));
    }
    ShowPlainMessage(*services.messages, msg::kNoHighResolutionCounter, nullptr);
    return RunClock(*services.clock, false, Ticks64 {1000, 0});
}

}  // namespace

DriveTester::DriveTester(const PlatformServices& services) : m_services(services), m_clock(ChooseClock(services)) {}

DriveTester::~DriveTester()
{
    Stop();
}

int DriveTester::SetRun(const std::string& rootPath, const RunParameters& parameters, DialogWindow* dialog,
                        PassResultSink* graph, RunEndSink* end)
{
    if (IsRunning() != 0) {
        return 0;
    }
    if (!IsRunnable(parameters)) {
        m_hasParameters = false;
        return 0;
    }
    m_rootPath = rootPath;
    m_parameters = parameters;
    m_dialog = dialog;
    m_graph = graph;
    m_endSink = end;
    m_hasParameters = true;
    if (graph != nullptr) {
        graph->ConfigureRun(parameters.readReps, parameters.writeReps, parameters.simultaneous, parameters.minRead,
                            parameters.minWrite);
    }
    return 1;
}

int DriveTester::SetParameters(int driveLetter, int numFiles, int fileSizeKB, int bufSizeKB, int readReps,
                               int writeReps, int sampsSec, int minRead, int minWrite, int simultaneous,
                               DialogWindow* dialog, PassResultSink* graph)
{
    if (IsRunning() != 0) {
        return 0;
    }
    const bool letter = (driveLetter >= 'a' && driveLetter <= 'z') || (driveLetter >= 'A' && driveLetter <= 'Z');
    if (!letter) {
        m_hasParameters = false;
        return 0;
    }
    // A letter the drive table does not know names no folder; its files then
    // cannot be created and the run reports so.
    const DriveEntry* drive = m_services.drives != nullptr ? m_services.drives->Find(driveLetter) : nullptr;
    const std::string rootPath = drive != nullptr ? drive->rootPath : std::string(1, static_cast<char>(driveLetter)) + ":";
    const RunParameters parameters {numFiles, fileSizeKB, bufSizeKB, readReps, writeReps, sampsSec,
                                    minRead,  minWrite,   simultaneous != 0 ? 1 : 0};
    return SetRun(rootPath, parameters, dialog, graph);
}

void DriveTester::Start()
{
    if (IsRunning() != 0 || !m_hasParameters) {
        return;
    }
    if (m_thread) {
        m_thread->Join();  // the previous run has cleared its flag; its thread is ending
        m_thread.reset();
    }
    m_outcome = RunOutcome {};
    m_running.store(1, std::memory_order_release);
    m_stopRequested.store(0, std::memory_order_release);
    m_thread = m_services.threads->NewThread();
    if (!m_thread->Create(&DriveTester::RunTest, this)) {
        m_thread.reset();
        RunOutcome failure = ReportError(*m_services.messages, msg::kNoThread, nullptr);
        failure.failureKind = FailureKind::Thread;
        FinishRun(std::move(failure));
        return;
    }
    m_thread->RaisePriority();
    m_thread->Release();
}

void DriveTester::Stop()
{
    RequestStop();
    {
        // Sleeps until the worker clears the flag; no polling.
        std::unique_lock lock(m_endMutex);
        m_ended.wait(lock, [this] { return m_running.load(std::memory_order_acquire) == 0; });
    }
    // The worker only posts the end of the run after the flag; once it has
    // returned nothing of the run is left, also when the process ends next.
    if (m_thread) {
        m_thread->Join();
        m_thread.reset();
    }
}

void DriveTester::RunTest(void* argument)
{
    auto& tester = *static_cast<DriveTester*>(argument);
    const RunContext context {tester.m_parameters, tester.m_rootPath,    *tester.m_services.files,
                              tester.m_clock,      *tester.m_services.messages, tester.m_graph,
                              tester.m_stopRequested, tester.m_options};
    RunOutcome outcome = TestRun(context).Execute();
    tester.FinishRun(std::move(outcome));
}

void DriveTester::FinishRun(RunOutcome outcome)
{
    // A stop ends a run that has not failed; a failure before the stop stays
    // the run's result.
    const bool stopped = m_stopRequested.load(std::memory_order_acquire) != 0;
    if (stopped && outcome.result != RunResult::Failed) {
        outcome.result = RunResult::Stopped;
    }
    m_outcome = std::move(outcome);
    const RunOutcome told = m_outcome;
    DialogWindow* dialog = m_dialog;
    RunEndSink* endSink = m_endSink;
    {
        std::lock_guard lock(m_endMutex);
        m_running.store(0, std::memory_order_release);
    }
    m_ended.notify_all();
    if (endSink != nullptr) {
        endSink->RunEnded(told);
    }
    if (dialog != nullptr && !stopped) {
        dialog->PostWindowMessage(WM_TEST_FINISHED, 0, 0);
    }
}

}  // namespace kel
