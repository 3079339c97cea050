// keltally-views: draws the results view's graph and text images of a run
// from its JSON record. The runner calls it for --png, so that the runner
// itself never loads the drawing libraries.

#include "app/cli/RunRecord.h"
#include "view/ResultImages.h"

#include <QDir>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char* argv[])
{
    // Fonts need a GUI application, but never a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "Usage: keltally-views RUN.json FOLDER\n"
                             "Writes FOLDER/graph.png and FOLDER/text.png from a record of keltally-cli --json.\n");
        return 2;
    }
    QString error;
    const auto record = kel::ReadRunRecord(args[1], error);
    if (!record) {
        std::fprintf(stderr, "keltally-views: cannot read %s: %s\n", qPrintable(args[1]), qPrintable(error));
        return 1;
    }
    // The results view's client area in the dialog.
    kel::ResultImages images(QSize(510, 299));
    images.ConfigureRun(record->readReps, record->writeReps, record->simultaneous, record->minRead, record->minWrite);
    for (const kel::ReportedPass& pass : record->passes) {
        if (!pass.samples.empty()) {
            images.AddPassResults(pass.number, pass.samples.data(), static_cast<int>(pass.samples.size()), pass.rate,
                                  pass.isWrite ? 1 : 0);
        }
    }
    const QString folder = args[2];
    if (!QDir().mkpath(folder) || !images.GraphImage().save(folder + "/graph.png") ||
        !images.TextImage().save(folder + "/text.png")) {
        std::fprintf(stderr, "keltally-views: cannot write the pictures to %s\n", qPrintable(folder));
        return 1;
    }
    return 0;
}
