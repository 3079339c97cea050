#pragma once
// The application, its icon, and what it answers before it has a window.

#include <QIcon>

#include <optional>
#include <string>

namespace kel {

// The application: finds the drives, shows the main dialog and runs the
// event loop until the dialog closes.
class PerfApp {
public:
    // argc and argv as main received them; the result is the exit status.
    int Run(int& argc, char** argv);
};

// The program's icon, in its 32 x 32 and 16 x 16 forms.
QIcon ProgramIcon();

// What the dialog program answers before it makes its application object:
// --version and --help, which need no display, and the lack of any display,
// which Qt would answer by aborting.
struct EarlyAnswer {
    int exitCode;
    std::string text;  // for standard output when exitCode is 0, else for standard error
};

// Nothing when the dialog may start. Qt's platform comes from its -platform
// argument or QT_QPA_PLATFORM; xcb needs DISPLAY, wayland WAYLAND_DISPLAY,
// Qt's default either, and the others (offscreen, minimal, eglfs, ...) no
// desktop session.
std::optional<EarlyAnswer> AnswerBeforeWindow(int argc, const char* const* argv);

}  // namespace kel
