#include "app/PerfApp.h"

#include "app/AppIcon.h"
#include "app/PerfDialog.h"
#include "app/StopSignalWatch.h"
#include "drives/DriveDiscovery.h"
#include "platform/DriveTable.h"
#include "platform/PlatformServices.h"
#include "platform/StopSignals.h"

#include <QApplication>

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

}  // namespace kel
