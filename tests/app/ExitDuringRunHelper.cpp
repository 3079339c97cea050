// A dialog program that starts a run in the folder named first on its
// command line and, once the run's first file exists, ends without closing
// its window: through exit(), as Qt does when the display connection breaks.
// With "broken-stderr" as the second argument it first writes a warning to a
// standard error whose reader has gone, as a program started from a pipeline
// that has ended does.

#include "app/DialogLayout.h"
#include "app/PerfDialog.h"
#include "platform/DriveTable.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

constexpr int kExitCode = 3;

void SetEdit(kel::PerfDialog& dialog, int controlId, const char* text)
{
    dialog.findChild<QLineEdit*>(QStringLiteral("id%1").arg(controlId))->setText(QString::fromLatin1(text));
}

void BreakStandardError()
{
    int ends[2];
    if (pipe(ends) == 0) {
        close(ends[0]);
        dup2(ends[1], STDERR_FILENO);
        close(ends[1]);
    }
    qWarning("The display has gone away.");
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        return 2;
    }
    const std::string folder = argv[1];
    const std::string mode = argv[2];
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    kel::DriveTable drives;
    drives.Register('T', folder);
    kel::PlatformServices services = kel::DefaultPlatformServices();
    services.messages = nullptr;
    services.drives = &drives;

    kel::PerfDialog dialog(services);
    dialog.show();
    // One file of 4 MB in 4 KB transfers, a thousand passes of each kind.
    SetEdit(dialog, kel::id::kNumFiles, "1");
    SetEdit(dialog, kel::id::kFileSize, "4096");
    SetEdit(dialog, kel::id::kBufSize, "4");
    SetEdit(dialog, kel::id::kReadReps, "1000");
    SetEdit(dialog, kel::id::kWriteReps, "1000");
    auto* driveList = dialog.findChild<QComboBox*>(QStringLiteral("id%1").arg(kel::id::kDriveList));
    driveList->setCurrentIndex(driveList->findData(static_cast<int>('T')));
    dialog.findChild<QPushButton*>(QStringLiteral("id%1").arg(kel::id::kStart))->click();

    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&folder, &mode] {
        if (!std::filesystem::exists(folder + "/~kelt00x.tmp")) {
            return;
        }
        if (mode == "broken-stderr") {
            BreakStandardError();
        }
        std::exit(kExitCode);
    });
    poll.start(5);
    return app.exec();
}
