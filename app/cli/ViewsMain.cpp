// keltally-views: draws the results view's graph and text images of a run
// from its JSON record. The runner calls it for --png, so that the runner
// itself never loads the drawing libraries.

#include "app/Version.h"
#include "app/record/RecordReading.h"
#include "app/record/ReportTarget.h"
#include "view/ResultImages.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include <cstdio>
#include <cstring>

namespace {

const char* const kUsage =
    "Usage: keltally-views RUN.json FOLDER\n"
    "Writes FOLDER/graph.png and FOLDER/text.png, the graph and text views of the run, from a record of\n"
    "keltally-cli --json (- reads it from standard input). FOLDER is made when missing. A record that breaks\n"
    "the rules of the format is refused with its first problem (exit 1).\n"
    "\n"
    "Options:\n"
    "  -h, --help     Show this help.\n"
    "  -v, --version  Show the version.\n";

// The record's bytes; false with the reason in error.
bool ReadInput(const QString& name, QByteArray& bytes, QString& error)
{
    QFile file;
    const bool opened = name == "-" ? file.open(stdin, QIODevice::ReadOnly)
                                    : (file.setFileName(name), file.open(QIODevice::ReadOnly));
    if (!opened) {
        error = file.errorString();
        return false;
    }
    bytes = file.readAll();
    return true;
}

bool SavePicture(const QImage& image, const QString& path)
{
    QByteArray png;
    QBuffer buffer(&png);
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG")) {
        std::fprintf(stderr, "keltally-views: cannot draw %s\n", qPrintable(path));
        return false;
    }
    if (const auto failure = kel::WriteReport(path, png)) {
        std::fprintf(stderr, "keltally-views: cannot write %s\n", qPrintable(failure->text));
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char* argv[])
{
    // These answers need no GUI application at all.
    if (argc == 2 && (std::strcmp(argv[1], "--version") == 0 || std::strcmp(argv[1], "-v") == 0)) {
        std::printf("keltally-views %s\n", kel::kVersion);
        return 0;
    }
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    // Fonts need a GUI application, but never a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 3) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    QByteArray bytes;
    QString problem;
    if (!ReadInput(args[1], bytes, problem)) {
        std::fprintf(stderr, "keltally-views: cannot read %s: %s\n", qPrintable(args[1]), qPrintable(problem));
        return 1;
    }
    const auto record = kel::ParseRunRecord(bytes, problem);
    if (!record) {
        std::fprintf(stderr, "keltally-views: %s is refused: %s\n", qPrintable(args[1]), qPrintable(problem));
        return 1;
    }
    // The results view's client area in the dialog.
    kel::ResultImages images(QSize(510, 299));
    const kel::RunParameters& p = record->parameters;
    images.ConfigureRun(p.readReps, p.writeReps, p.simultaneous, p.minRead, p.minWrite);
    for (const kel::RecordedPass& pass : record->passes) {
        images.AddPassResults(pass.number, pass.samples.data(), static_cast<int>(pass.samples.size()), pass.rate,
                              pass.isWrite ? 1 : 0);
    }
    const QString folder = args[2];
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "keltally-views: cannot make the folder %s\n", qPrintable(folder));
        return 1;
    }
    const bool saved = SavePicture(images.GraphImage(), folder + "/graph.png");
    return saved && SavePicture(images.TextImage(), folder + "/text.png") ? 0 : 1;
}
