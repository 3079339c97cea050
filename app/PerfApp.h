#pragma once
// The application: finds the drives, shows the main dialog and runs the
// event loop until the dialog closes.

namespace kel {

class PerfApp {
public:
    // argc and argv as main received them; the result is the exit status.
    int Run(int& argc, char** argv);
};

}  // namespace kel
