#include "platform/StopSignals.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <thread>
#include <unistd.h>

namespace kel {

// Sleeps in poll() on the stop signals' pipe and a pipe of its own, which the
// destructor writes to so that the thread ends.
struct StopSignalWatch::Watcher {
    Watcher()
    {
        if (pipe2(quit, O_CLOEXEC) != 0) {
            quit[0] = quit[1] = -1;
        }
    }
    Watcher(const Watcher&) = delete;
    Watcher& operator=(const Watcher&) = delete;
    ~Watcher()
    {
        for (const int fd : quit) {
            if (fd >= 0) {
                close(fd);
            }
        }
    }
    int quit[2] = {-1, -1};
    std::thread thread;
};

StopSignalWatch::StopSignalWatch(std::function<void(int signal)> onSignal) : m_watcher(std::make_unique<Watcher>())
{
    if (m_watcher->quit[0] < 0) {
        return;  // no watch: the signals are still recorded for PendingStopSignal
    }
    m_watcher->thread = std::thread([signals = StopSignalDescriptor(), quitFd = m_watcher->quit[0], onSignal] {
        // The signals' pipe second, so that without one only the quit pipe is watched.
        pollfd watched[2] = {{quitFd, POLLIN, 0}, {signals, POLLIN, 0}};
        for (;;) {
            if (poll(watched, signals >= 0 ? 2 : 1, -1) < 0) {
                if (errno == EINTR) {
                    continue;
                }
                return;
            }
            if ((watched[0].revents & (POLLIN | POLLHUP)) != 0) {
                return;
            }
            if ((watched[1].revents & POLLIN) != 0) {
                char bytes[16];
                while (read(signals, bytes, sizeof bytes) > 0) {
                }
                onSignal(PendingStopSignal());
            }
        }
    });
}

StopSignalWatch::~StopSignalWatch()
{
    if (m_watcher->thread.joinable()) {
        const char byte = 0;
        [[maybe_unused]] const ssize_t written = write(m_watcher->quit[1], &byte, 1);
        m_watcher->thread.join();
    }
}

}  // namespace kel
