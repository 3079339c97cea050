#include "platform/StopSignals.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <iterator>
#include <fcntl.h>
#include <pthread.h>
#include <unistd.h>

namespace kel {

const int kBrokenPipeSignal = SIGPIPE;

namespace {

// Every signal that stops a run: each one's default action ends the process.
constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGUSR1, SIGUSR2, SIGALRM, SIGVTALRM, SIGPROF};

// Atomic, not just sig_atomic_t: the handler may run on any thread of the
// process while another reads it.
std::atomic<int> g_pendingSignal {0};
int g_pipe[2] = {-1, -1};

// What a second stop signal writes before it ends the process.
EndAtOnceText g_endText;

void WriteAll(int fd, const char* text, std::size_t size)
{
    while (size > 0) {
        const ssize_t written = write(fd, text, size);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return;
        }
        text += written;
        size -= static_cast<std::size_t>(written);
    }
}

extern "C" void OnStopSignal(int signal)
{
    const int savedErrno = errno;  // the interrupted code may be about to read it
    int none = 0;
    const bool first = g_pendingSignal.compare_exchange_strong(none, signal);
    if (const std::string* endText = g_endText.Current(); !first && endText != nullptr) {
        const std::string& text = *endText;
        WriteAll(STDERR_FILENO, text.data(), text.size());
        _exit(ExitCodeForSignal(signal));
    }
    if (g_pipe[1] >= 0) {
        const char byte = 1;
        [[maybe_unused]] const ssize_t ignored = write(g_pipe[1], &byte, 1);
    }
    errno = savedErrno;
}

// A stop signal that came while HeldStopSignals kept it from ending the process.
std::atomic<int> g_heldSignal {0};

extern "C" void OnHeldSignal(int signal)
{
    int none = 0;
    g_heldSignal.compare_exchange_strong(none, signal);
}

sigset_t StopSignalSet()
{
    sigset_t set;
    sigemptyset(&set);
    for (const int signal : kStopSignals) {
        sigaddset(&set, signal);
    }
    return set;
}

// What HeldStopSignals restores: the thread's mask and the signals it gave a
// recording handler because they had none.
struct HeldState {
    sigset_t oldMask;
    std::array<bool, std::size(kStopSignals)> recorded {};
};
thread_local HeldState t_held;

}  // namespace

HeldStopSignals::HeldStopSignals()
{
    const sigset_t set = StopSignalSet();
    pthread_sigmask(SIG_BLOCK, &set, &t_held.oldMask);
    g_heldSignal.store(0);
    struct sigaction record {};
    record.sa_handler = &OnHeldSignal;
    sigemptyset(&record.sa_mask);
    for (std::size_t i = 0; i < std::size(kStopSignals); ++i) {
        struct sigaction old {};
        t_held.recorded[i] = sigaction(kStopSignals[i], nullptr, &old) == 0 && old.sa_handler == SIG_DFL &&
                             sigaction(kStopSignals[i], &record, nullptr) == 0;
    }
}

HeldStopSignals::~HeldStopSignals()
{
    struct sigaction standard {};
    standard.sa_handler = SIG_DFL;
    sigemptyset(&standard.sa_mask);
    for (std::size_t i = 0; i < std::size(kStopSignals); ++i) {
        if (t_held.recorded[i]) {
            sigaction(kStopSignals[i], &standard, nullptr);
        }
    }
    // Raised while still blocked, so it takes effect as the mask is restored.
    if (const int held = g_heldSignal.exchange(0); held != 0) {
        raise(held);
    }
    pthread_sigmask(SIG_SETMASK, &t_held.oldMask, nullptr);
}

void InstallStopSignals()
{
    if (g_pipe[0] < 0) {
        if (pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
            g_pipe[0] = g_pipe[1] = -1;
        }
    }
    struct sigaction action {};
    action.sa_handler = &OnStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : kStopSignals) {
        sigaction(signal, &action, nullptr);
    }
    std::signal(SIGXFSZ, SIG_IGN);
}

int PendingStopSignal()
{
    return g_pendingSignal.load();
}

int StopSignalDescriptor()
{
    return g_pipe[0];
}

void IgnoreBrokenPipes()
{
    std::signal(SIGPIPE, SIG_IGN);
}

void EndAtSecondStopSignal(const std::string& text)
{
    g_endText.Set(text);
}

void EndProcessAtOnce(int exitCode)
{
    _exit(exitCode);
}

bool StandardErrorIsTerminal()
{
    return isatty(STDERR_FILENO) == 1;
}

}  // namespace kel
