#include "engine/DriveTester.h"

#include "engine/EngineMessages.h"
#include "engine/ErrorReport.h"
#include "engine/TestRun.h"
#include "platform/Clock.h"
#include "platform/DriveTable.h"
#include "platform/WorkerThread.h"

#include <cctype>

namespace kel {

namespace {

// Beyond these a run could not be carried out: two-digit file names, sizes
// counted in 32 bits.
constexpr int kMaxFiles = 100;
constexpr int kMaxSizeKB = 4194303;

bool RunnableValues(int numFiles, int fileSizeKB, int bufSizeKB, int sampsSec)
{
    return numFiles >= 1 && numFiles <= kMaxFiles && fileSizeKB >= 1 && fileSizeKB <= kMaxSizeKB &&
           bufSizeKB >= 1 && bufSizeKB <= kMaxSizeKB && sampsSec >= 0;
}

}  // namespace

DriveTester::DriveTester(const PlatformServices& services) : m_services(services)
{
    InitClock();
}

DriveTester::~DriveTester()
{
    Stop();
    if (m_thread) {
        m_thread->Join();
    }
}

void DriveTester::InitClock()
{
    std::uint64_t frequency = 0;
    m_hasPerfCounter = m_services.clock->QueryFrequency(frequency) ? 1 : 0;
    m_ticksPerSec = TicksFromCount(frequency);
    if (m_hasPerfCounter == 0) {
        ShowPlainMessage(*m_services.messages, msg::kNoHighResolutionCounter, nullptr);
        m_ticksPerSec = Ticks64 {1000, 0};
    }
}

Ticks64 DriveTester::ReadClock() const
{
    if (m_hasPerfCounter != 0) {
        return TicksFromCount(m_services.clock->QueryCounter());
    }
    return Ticks64 {m_services.clock->TickCount(), 0};
}

int DriveTester::SetParameters(int driveLetter, int numFiles, int fileSizeKB, int bufSizeKB, int readReps,
                               int writeReps, int sampsSec, int minRead, int minWrite, int simultaneous,
                               DialogWindow* dialog, PassResultSink* graph)
{
    if (IsRunning() != 0) {
        return 0;
    }
    const int lower = std::tolower(static_cast<unsigned char>(driveLetter));
    if (lower < 'a' || lower > 'z' || driveLetter > 0xFF) {
        return 0;
    }
    if (!RunnableValues(numFiles, fileSizeKB, bufSizeKB, sampsSec)) {
        return 0;
    }
    m_driveLetter = static_cast<char>(driveLetter);
    m_numFiles = numFiles;
    m_fileSizeKB = fileSizeKB;
    m_bufSizeKB = bufSizeKB;
    m_readReps = readReps;
    m_sampsSec = sampsSec;
    m_simultaneous = simultaneous;
    m_dialog = dialog;
    m_graph = graph;
    m_writeReps = simultaneous != 0 ? 1 : writeReps;
    // A letter the drive table does not know names no folder; its files then
    // cannot be created and the run reports so.
    const DriveEntry* drive = m_services.drives != nullptr ? m_services.drives->Find(driveLetter) : nullptr;
    m_rootPath = drive != nullptr ? drive->rootPath : std::string(1, m_driveLetter) + ":";
    if (graph != nullptr) {
        graph->ConfigureRun(readReps, writeReps, simultaneous, minRead, minWrite);
    }
    return 1;
}

void DriveTester::Start()
{
    if (IsRunning() != 0) {
        return;
    }
    if (m_thread) {
        m_thread->Join();  // the previous run has cleared its flag; its thread is ending
        m_thread.reset();
    }
    m_running.store(1, std::memory_order_release);
    m_stopRequested.store(0, std::memory_order_release);
    m_thread = m_services.threads->NewThread();
    if (!m_thread->Create(&DriveTester::RunTest, this)) {
        m_thread.reset();
        ReportError(*m_services.messages, msg::kNoThread, nullptr);
        FinishRun();
        return;
    }
    m_thread->RaisePriority();
    m_thread->Release();
}

void DriveTester::Stop()
{
    m_stopRequested.store(1, std::memory_order_release);
    while (IsRunning() != 0) {
        YieldProcessor();
    }
}

void DriveTester::RunTest(void* tester)
{
    TestRun run(*static_cast<DriveTester*>(tester));
    run.Execute();
}

void DriveTester::FinishRun()
{
    DialogWindow* dialog = m_dialog;
    const bool post = dialog != nullptr && m_stopRequested.load(std::memory_order_acquire) == 0;
    m_running.store(0, std::memory_order_release);
    if (post) {
        dialog->PostWindowMessage(WM_TEST_FINISHED, 0, 0);
    }
}

}  // namespace kel
