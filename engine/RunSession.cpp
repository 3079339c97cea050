#include "engine/RunSession.h"

#include "drives/DriveCheck.h"
#include "platform/InterfaceLink.h"
#include "platform/DriveTable.h"

namespace kel {

RunSession::RunSession(const PlatformServices& services, PassResultSink* passes, RunSessionListener* listener,
                       bool keepSamples)
    : m_services(services), m_listener(listener), m_recorder(passes, keepSamples), m_tester(services)
{
}

RunSession::~RunSession()
{
    m_tester.Stop();
}

bool RunSession::Start(const RunRequest& request, const std::function<bool(const DriveEntry& drive)>& beforeRun)
{
    if (IsRunning()) {
        return false;
    }
    const RunParameters& parameters = request.parameters;
    const DriveTable& drives = *m_services.drives;
    if (CheckDrive(request.driveLetter, drives, parameters.numFiles, parameters.fileSizeKB,
                   parameters.simultaneous != 0, *m_services.messages, request.folderShown) == 0) {
        return false;
    }
    const DriveEntry* drive = drives.Find(request.driveLetter);
    if (drive == nullptr || (beforeRun && !beforeRun(*drive))) {
        return false;
    }
    m_tester.SetRunOptions(request.options);
    if (m_tester.SetRun(drive->rootPath, parameters, nullptr, &m_recorder, this) == 0) {
        return false;
    }
    m_recorder.Begin(request.program, parameters, drive->rootPath, FileSystemOf(*drive));
    m_recorder.SetRunDetails(request.options, InterfaceLinkOf(drive->rootPath));
    {
        std::lock_guard lock(m_endMutex);
        m_ended = false;
        m_begun = true;
    }
    m_tester.Start();
    return true;
}

bool RunSession::HasFinishedRecord() const
{
    std::lock_guard lock(m_endMutex);
    return m_begun && m_ended;
}

void RunSession::RequestStop()
{
    m_tester.RequestStop();
}

void RunSession::Stop()
{
    m_tester.Stop();
}

void RunSession::WaitForEnd()
{
    std::unique_lock lock(m_endMutex);
    m_endTold.wait(lock, [this] { return m_ended; });
}

void RunSession::RunEnded(const RunOutcome& outcome)
{
    m_recorder.Finish(outcome);
    if (m_listener != nullptr) {
        m_listener->RunSessionEnded(outcome);
    }
    {
        std::lock_guard lock(m_endMutex);
        m_ended = true;
    }
    m_endTold.notify_all();
}

}  // namespace kel
