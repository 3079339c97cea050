#pragma once
// The dialog program may end without closing its window: Qt calls exit()
// when its display connection breaks (the X server or the session has gone).
// From the first run on, exit() and quick_exit() first stop the dialog's run
// and wait for its clean-up, so its test files are deleted, and a broken pipe
// on standard error no longer ends the process at all. Interrupt, terminate
// and hang-up close the dialog as Exit does (StopSignalWatch.h).

namespace kel {

class DriveTester;

// Makes tester the one stopped when the process ends; the first call installs
// the hooks. Call it on the dialog's thread before the run starts.
void StopAtProcessEnd(DriveTester& tester);
// Called when tester goes away.
void ForgetAtProcessEnd(DriveTester& tester);

}  // namespace kel
