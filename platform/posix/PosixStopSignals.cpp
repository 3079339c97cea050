#include "platform/StopSignals.h"

#include <csignal>
#include <initializer_list>
#include <fcntl.h>
#include <unistd.h>

namespace kel {

namespace {

volatile std::sig_atomic_t g_pendingSignal = 0;
int g_pipe[2] = {-1, -1};

extern "C" void OnStopSignal(int signal)
{
    if (g_pendingSignal == 0) {
        g_pendingSignal = signal;
    }
    if (g_pipe[1] >= 0) {
        const char byte = 1;
        [[maybe_unused]] const ssize_t ignored = write(g_pipe[1], &byte, 1);
    }
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
    return g_pendingSignal;
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

}  // namespace kel
