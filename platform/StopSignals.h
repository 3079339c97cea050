#pragma once
// Interrupt, terminate and hang-up requests from outside (Ctrl-C, kill, a
// closed terminal) end a run like the Stop button. The handlers only record
// the signal; the program polls for it and stops the run itself.

namespace kel {

// Catches SIGINT, SIGTERM and SIGHUP from now on.
void InstallStopSignals();
// The first stop signal received, or 0.
int PendingStopSignal();
// A read end that becomes readable when a stop signal arrives, for event loops; -1 if none.
int StopSignalDescriptor();
// Writing to a pipe whose reader has gone fails (EPIPE) instead of ending the
// process, which would leave a run's test files behind.
void IgnoreBrokenPipes();
// The conventional exit code of a program ended by the signal: 128 + its number.
int ExitCodeForSignal(int signal);

}  // namespace kel
