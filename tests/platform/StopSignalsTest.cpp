// Signals from outside: each stop signal is recorded for the run to stop on,
// a file-size limit fails the write instead of ending the process, and a
// step done with the stop signals held is never cut in half.

#include "platform/StopSignals.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <functional>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kel {
namespace {

const int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGUSR1, SIGUSR2, SIGALRM, SIGVTALRM, SIGPROF};

// The wait status of a child process that runs body and exits with its answer.
int InChild(const std::function<int()>& body)
{
    const pid_t child = fork();
    if (child == 0) {
        const rlimit noCore {0, 0};
        setrlimit(RLIMIT_CORE, &noCore);  // SIGQUIT's default would leave a core file
        _exit(body());
    }
    int status = -1;
    waitpid(child, &status, 0);
    return status;
}

bool ExitedWith(int status, int code)
{
    return WIFEXITED(status) && WEXITSTATUS(status) == code;
}

TEST(StopSignals, EachIsRecordedForTheRunToStopOnAndNoneEndsTheProcess)
{
    for (const int signal : kStopSignals) {
        const int status = InChild([signal] {
            InstallStopSignals();
            raise(signal);
            raise(SIGINT);  // a later one does not replace the first
            return PendingStopSignal() == signal ? 0 : 1;
        });
        EXPECT_TRUE(ExitedWith(status, 0)) << strsignal(signal) << ": status " << status;
    }
}

TEST(StopSignals, AFileSizeLimitFailsTheWriteInsteadOfEndingTheProcess)
{
    test::TempDir dir;
    const std::string path = dir.Path() + "/big";
    const int status = InChild([&path] {
        InstallStopSignals();
        const rlimit limit {4096, RLIM_INFINITY};
        setrlimit(RLIMIT_FSIZE, &limit);
        const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
        const std::string block(4096, 'x');
        const bool firstFits = write(fd, block.data(), block.size()) == 4096;
        const bool secondRefused = write(fd, block.data(), block.size()) < 0 && errno == EFBIG;
        return firstFits && secondRefused ? 0 : 1;
    });
    EXPECT_TRUE(ExitedWith(status, 0)) << "status " << status;
}

TEST(StopSignals, AStepDoneWithThemHeldEndsBeforeTheSignalActs)
{
    test::TempDir dir;
    const std::string path = dir.Path() + "/probe";
    for (const bool handled : {false, true}) {
        for (const int signal : {SIGTERM, SIGQUIT, SIGUSR1, SIGALRM}) {
            const int status = InChild([&path, handled, signal] {
                if (handled) {
                    InstallStopSignals();
                }
                {
                    const HeldStopSignals held;
                    close(open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600));
                    kill(getpid(), signal);
                    usleep(2000);
                    unlink(path.c_str());
                }
                return handled && PendingStopSignal() == signal ? 0 : 1;
            });
            // Without a handler the signal ends the process as it would have,
            // but only once the file is gone; with one, the run hears of it.
            if (handled) {
                EXPECT_TRUE(ExitedWith(status, 0)) << strsignal(signal) << ": status " << status;
            } else {
                EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << strsignal(signal);
            }
            EXPECT_TRUE(dir.Entries().empty()) << strsignal(signal);
        }
    }
}

}  // namespace
}  // namespace kel
