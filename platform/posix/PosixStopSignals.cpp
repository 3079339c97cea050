#include "platform/StopSignals.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <initializer_list>
#include <fcntl.h>
#include <unistd.h>

namespace kel {

namespace {

// Atomic, not just sig_atomic_t: the handler may run on any thread of the
// process while another reads it.
std::atomic<int> g_pendingSignal {0};
int g_pipe[2] = {-1, -1};

// What a second stop signal writes before it ends the process. The handler
// reads the slot g_endText names; a new text goes into the other slot first.
std::array<std::string, 2> g_endTexts;
std::atomic<int> g_endText {-1};  // -1: a second signal changes nothing
static_assert(std::atomic<int>::is_always_lock_free, "read in a signal handler");

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
    if (const int slot = g_endText.load(); !first && slot >= 0) {
        const std::string& text = g_endTexts[static_cast<std::size_t>(slot)];
        WriteAll(STDERR_FILENO, text.data(), text.size());
        _exit(ExitCodeForSignal(signal));
    }
    if (g_pipe[1] >= 0) {
        const char byte = 1;
        [[maybe_unused]] const ssize_t ignored = write(g_pipe[1], &byte, 1);
    }
    errno = savedErrno;
}

}  // namespace

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
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        sigaction(signal, &action, nullptr);
    }
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

int ExitCodeForSignal(int signal)
{
    return 128 + signal;
}

void EndAtSecondStopSignal(const std::string& text)
{
    const int slot = g_endText.load() == 0 ? 1 : 0;
    g_endTexts[static_cast<std::size_t>(slot)] = text;
    g_endText.store(slot);
}

void EndProcessAtOnce(int exitCode)
{
    _exit(exitCode);
}

}  // namespace kel
