#include "platform/StopSignals.h"

#include <windows.h>

#include <array>
#include <atomic>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <vector>

namespace kel {

namespace {

// Console events as the signal numbers the exit codes are made from, so the
// runner ends with the same codes as on Linux: 130 for Ctrl-C, 129 when its
// console is closed, 143 at log-off or shutdown.
constexpr int kHangUp = 1;
constexpr int kInterrupt = 2;
constexpr int kTerminate = 15;

std::atomic<int> g_pendingSignal {0};
// The watches alive now; the console handler runs on a thread of its own,
// so it calls them itself.
std::mutex g_watchMutex;
std::vector<const std::function<void(int)>*> g_watches;
EndAtOnceText g_endText;

int SignalOfEvent(DWORD event)
{
    switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
        return kInterrupt;
    case CTRL_CLOSE_EVENT:
        return kHangUp;
    default:
        return kTerminate;
    }
}

BOOL WINAPI OnConsoleEvent(DWORD event)
{
    const int signal = SignalOfEvent(event);
    int none = 0;
    const bool first = g_pendingSignal.compare_exchange_strong(none, signal);
    if (const std::string* endText = g_endText.Current(); !first && endText != nullptr) {
        const std::string& text = *endText;
        DWORD written = 0;
        WriteFile(GetStdHandle(STD_ERROR_HANDLE), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        ExitProcess(static_cast<UINT>(ExitCodeForSignal(signal)));
    }
    {
        std::lock_guard lock(g_watchMutex);
        for (const auto* watch : g_watches) {
            (*watch)(g_pendingSignal.load());
        }
    }
    if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT) {
        // The system ends the process once this handler returns: wait here,
        // within the system's grace period, while the program stops its run,
        // deletes its files and exits.
        Sleep(INFINITE);
    }
    return TRUE;
}

}  // namespace

const int kBrokenPipeSignal = 13;

void InstallStopSignals()
{
    SetConsoleCtrlHandler(&OnConsoleEvent, TRUE);
}

int PendingStopSignal()
{
    return g_pendingSignal.load();
}

int StopSignalDescriptor()
{
    return -1;
}

void IgnoreBrokenPipes()
{
    // A write to a pipe whose reader has gone fails on Windows; nothing ends the process.
}

void EndAtSecondStopSignal(const std::string& text)
{
    g_endText.Set(text);
}

struct StopSignalWatch::Watcher {
    std::function<void(int)> onSignal;
};

StopSignalWatch::StopSignalWatch(std::function<void(int signal)> onSignal)
    : m_watcher(std::make_unique<Watcher>(Watcher {std::move(onSignal)}))
{
    std::lock_guard lock(g_watchMutex);
    g_watches.push_back(&m_watcher->onSignal);
}

StopSignalWatch::~StopSignalWatch()
{
    std::lock_guard lock(g_watchMutex);
    std::erase(g_watches, &m_watcher->onSignal);
}

// Console events never interrupt the calling thread, and the handler lets the
// program go on: nothing to hold.
HeldStopSignals::HeldStopSignals() = default;
HeldStopSignals::~HeldStopSignals() = default;

void EndProcessAtOnce(int exitCode)
{
    std::_Exit(exitCode);
}

bool StandardErrorIsTerminal()
{
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}

}  // namespace kel
