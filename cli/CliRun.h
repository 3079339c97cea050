#pragma once
// One run of the headless runner, from its options to its exit code: the
// preset, the checks before the run, the run with its stops, the printed
// lines and the reports after it.

#include "cli/CliOptions.h"

namespace kel {

constexpr int kExitComplete = 0;
constexpr int kExitFailed = 1;
constexpr int kExitRefused = 2;
constexpr int kExitBelowMinimum = 3;

// 0 complete, 1 failed, 2 refused, 3 below a minimum with --fail-below,
// 128 + a signal's number when stopped (141 when standard output closed).
int RunDriveTest(CliOptions options);

// The exit code when output failed with the system's code: as for SIGPIPE
// when the reader closed the pipe, else failed.
int ExitCodeForOutputFailure(int systemError);

}  // namespace kel
