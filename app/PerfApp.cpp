// The application's start, its icon and its answers before a window.
#include "app/PerfApp.h"

#include "Version.h"
#include "app/PerfDialog.h"
#include "app/RunExitGuard.h"
#include "drives/DriveDiscovery.h"
#include "platform/DriveTable.h"
#include "platform/PlatformServices.h"
#include "platform/StopSignals.h"

#include <QApplication>

#include <cstdlib>
#include <string_view>

namespace kel {

int PerfApp::Run(int& argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("keltally"));
    QApplication::setDesktopFileName(QStringLiteral("keltally"));
    QApplication::setWindowIcon(ProgramIcon());
    FillDriveTable(SystemDriveTable());

    PlatformServices services = DefaultPlatformServices();
    services.messages = nullptr;  // the worker's boxes are the dialog's own
    PerfDialog dialog(services);
    // The dialog ends the program however it closes.
    QObject::connect(&dialog, &QDialog::finished, &app, &QCoreApplication::quit);
    CloseOnStopSignals(dialog);
    dialog.show();
    const int status = app.exec();
    const int stopSignal = PendingStopSignal();
    return stopSignal != 0 ? ExitCodeForSignal(stopSignal) : status;
}

QIcon ProgramIcon()
{
    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/keltally-32.png"), QSize(32, 32));
    icon.addFile(QStringLiteral(":/icons/keltally-16.png"), QSize(16, 16));
    return icon;
}

namespace {

const char* const kHelp =
    "Usage: keltally [options]\n"
    "Kel Tallyforge measures how fast a drive sustains writing and reading large files,\n"
    "with the system's file cache kept out of the figures.\n"
    "\n"
    "Options:\n"
    "  -h, --help     Show this help.\n"
    "  -v, --version  Show the version.\n"
    "Qt's own options, such as -platform NAME, are taken as well.\n"
    "Without a display, keltally-cli runs the same tests (see keltally-cli --help).\n";

bool IsSet(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr && value[0] != '\0';
}

// The platforms Qt is asked for: its -platform argument, else QT_QPA_PLATFORM.
std::string_view RequestedPlatforms(int argc, const char* const* argv)
{
    for (int i = 1; i + 1 < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "-platform" || arg == "--platform") {
            return argv[i + 1];
        }
    }
    const char* value = std::getenv("QT_QPA_PLATFORM");
    return value != nullptr ? value : "";
}

// Whether one of the platforms, a list separated by ';' with options after
// ':', can start here.
bool CanStart(std::string_view platforms)
{
    const bool x11 = IsSet("DISPLAY");
    const bool wayland = IsSet("WAYLAND_DISPLAY") || IsSet("WAYLAND_SOCKET");
    if (platforms.empty()) {
        return x11 || wayland;
    }
    while (!platforms.empty()) {
        const std::size_t end = platforms.find(';');
        const std::string_view entry = platforms.substr(0, end);
        const std::string_view name = entry.substr(0, entry.find(':'));
        if (name == "xcb" ? x11 : (name.substr(0, 7) == "wayland" ? wayland : !name.empty())) {
            return true;
        }
        platforms = end == std::string_view::npos ? std::string_view() : platforms.substr(end + 1);
    }
    return false;
}

}  // namespace

std::optional<EarlyAnswer> AnswerBeforeWindow(int argc, const char* const* argv)
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--version" || arg == "-v") {
            return EarlyAnswer {0, std::string("keltally ") + kVersion + "\n"};
        }
        if (arg == "--help" || arg == "-h") {
            return EarlyAnswer {0, kHelp};
        }
    }
    if (!CanStart(RequestedPlatforms(argc, argv))) {
        return EarlyAnswer {1, "keltally: there is no display to open a window on; keltally-cli runs without one.\n"};
    }
    return std::nullopt;
}

}  // namespace kel
