#include "app/PerfApp.h"

#include "app/AppIcon.h"
#include "app/PerfDialog.h"
#include "drives/DriveDiscovery.h"
#include "platform/DriveTable.h"

#include <QApplication>

namespace kel {

int PerfApp::Run(int& argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("keltally"));
    QApplication::setDesktopFileName(QStringLiteral("keltally"));
    QApplication::setWindowIcon(ProgramIcon());
    FillDriveTable(SystemDriveTable());

    PerfDialog dialog;
    // The dialog ends the program however it closes.
    QObject::connect(&dialog, &QDialog::finished, &app, &QCoreApplication::quit);
    dialog.show();
    return app.exec();
}

}  // namespace kel
