#pragma once
// Interrupt, terminate and hang-up requests from outside (Ctrl-C, Ctrl-\,
// kill, a closed terminal, a timer or profiler signal nobody here asked for)
// end a run like the Stop button. The handlers only record the signal; the
// program polls for it and stops the run itself. Also whether standard error
// is a terminal, which the process's progress line depends on.

#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <string>

namespace kel {

// Catches SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGUSR1, SIGUSR2, SIGALRM,
// SIGVTALRM and SIGPROF from now on, each of which would otherwise end the
// process and leave its files. SIGXFSZ (a file-size limit reached) is
// ignored: the write that meets the limit fails with EFBIG instead, and the
// run ends through its failure path.
void InstallStopSignals();
// The first stop signal received, or 0.
int PendingStopSignal();
// A read end that becomes readable when a stop signal arrives, for event loops; -1 if none.
int StopSignalDescriptor();
// Writing to a pipe whose reader has gone fails (EPIPE) instead of ending the
// process, which would leave a run's test files behind.
void IgnoreBrokenPipes();
// The number of the signal for a write to a pipe whose reader has gone
// (SIGPIPE); Windows has no such signal and takes Linux's number, so that the
// exit codes are the same on both.
extern const int kBrokenPipeSignal;
// The conventional exit code of a program ended by the signal: 128 + its number.
constexpr int ExitCodeForSignal(int signal)
{
    return 128 + signal;
}

// From now on a stop signal that comes after the first one ends the process at
// once with its exit code, after writing text to standard error: for a stop
// that cannot finish because the run is stuck in the kernel. The text is
// prepared beforehand because a signal handler can do little else safely.
// A later call replaces the text.
void EndAtSecondStopSignal(const std::string& text);

// The text a second stop signal writes, kept for the handler: it reads the
// slot the index names, and a new text goes into the other slot first, so the
// handler never sees one half written.
class EndAtOnceText {
public:
    void Set(const std::string& text)
    {
        const int slot = m_slot.load() == 0 ? 1 : 0;
        m_texts[static_cast<std::size_t>(slot)] = text;
        m_slot.store(slot);
    }
    // The text, or null before the first Set (a second signal then changes nothing).
    const std::string* Current() const
    {
        const int slot = m_slot.load();
        return slot >= 0 ? &m_texts[static_cast<std::size_t>(slot)] : nullptr;
    }

private:
    std::array<std::string, 2> m_texts;
    std::atomic<int> m_slot {-1};
    static_assert(std::atomic<int>::is_always_lock_free, "read in a signal handler");
};

// While it lives, every stop signal (once InstallStopSignals has run) calls
// onSignal with the signal's number on a thread of the watch's own, where it
// may do what a signal handler may not, such as asking a run to stop.
class StopSignalWatch {
public:
    explicit StopSignalWatch(std::function<void(int signal)> onSignal);
    StopSignalWatch(const StopSignalWatch&) = delete;
    StopSignalWatch& operator=(const StopSignalWatch&) = delete;
    ~StopSignalWatch();

private:
    struct Watcher;
    std::unique_ptr<Watcher> m_watcher;
};

// Ends the process now with the exit code, running no exit handlers: for a
// program whose run is stuck in the kernel and that the user quits anyway.
[[noreturn]] void EndProcessAtOnce(int exitCode);

// Whether standard error is a terminal, where a progress line may be redrawn.
bool StandardErrorIsTerminal();

// While it lives, a stop signal cannot end the process or interrupt the
// calling thread: for a step that must not be cut in half, such as a file
// made and deleted again. A stop signal that came meanwhile is acted on when
// it goes away, as it would have been (a signal without a handler of the
// program's then ends the process, with the step done).
class HeldStopSignals {
public:
    HeldStopSignals();
    ~HeldStopSignals();
    HeldStopSignals(const HeldStopSignals&) = delete;
    HeldStopSignals& operator=(const HeldStopSignals&) = delete;
};

}  // namespace kel
