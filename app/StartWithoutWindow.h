#pragma once
// What the dialog program answers before it makes its application object:
// --version and --help, which need no display, and the lack of any display,
// which Qt would answer by aborting.

#include <optional>
#include <string>

namespace kel {

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
