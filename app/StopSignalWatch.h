#pragma once
// Interrupt, terminate and hang-up requests close the dialog the way Exit
// does: a running test is stopped and its files deleted before the program
// ends.

class QDialog;

namespace kel {

// From now on a stop signal rejects the dialog from its own event loop.
void CloseOnStopSignals(QDialog& dialog);

}  // namespace kel
