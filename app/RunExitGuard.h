#pragma once
// How the dialog program ends: by a stop signal, closing the dialog as Exit
// does, or by exit() with a run still going, which stops the run first.

class QDialog;

namespace kel {

// The dialog program may end without closing its window: Qt calls exit()
// when its display connection breaks (the X server or the session has gone).
// From the first run on, exit() and quick_exit() first stop the dialog's run
// and wait for its clean-up, so its test files are deleted, and a broken pipe
// on standard error no longer ends the process at all. Interrupt, terminate
// and hang-up close the dialog as Exit does (CloseOnStopSignals).

class DriveTester;

// Makes tester the one stopped when the process ends; the first call installs
// the hooks. Call it on the dialog's thread before the run starts.
void StopAtProcessEnd(DriveTester& tester);
// Called when tester goes away.
void ForgetAtProcessEnd(DriveTester& tester);

// Interrupt, terminate and hang-up requests close the dialog the way Exit
// does: a running test is stopped and its files deleted before the program
// ends. From now on a stop signal rejects the dialog from its own event loop.
void CloseOnStopSignals(QDialog& dialog);

}  // namespace kel
