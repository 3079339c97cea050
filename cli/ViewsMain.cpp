// keltally-views: draws the results view's graph and text images of a run
// from its JSON record. The runner calls it for --png, so that the runner
// itself never loads the drawing libraries.

#include "Version.h"
#include "record/RecordReading.h"
#include "record/ReportTarget.h"
#include "view/PngBytes.h"
#include "view/ResultImages.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include <cstdio>
#include <cstring>
#include <optional>

namespace {

const char* const kUsage =
    "Usage: keltally-views [--scale auto|N] RUN.json FOLDER\n"
    "Writes FOLDER/graph.png and FOLDER/text.png, the graph and text views of the run, from a record of\n"
    "keltally-cli --json (- reads it from standard input). FOLDER is made when missing. A record that breaks\n"
    "the rules of the format is refused with its first problem (exit 1).\n"
    "\n"
    "Options:\n"
    "  -h, --help         Show this help.\n"
    "  -v, --version      Show the version.\n"
    "  --scale <auto|N>   The graph's scale: auto fits it to the results (the top is the next 1, 2 or 5 x 10^n\n"
    "                     MB/s above the fastest sample), N puts N MB/s at the top (default 20).\n";

struct ViewsArguments {
    QString record;
    QString folder;
    kel::GraphScale scale = kel::DefaultGraphScale();
};

// The record, the folder and --scale in any order; nothing, after telling
// why, when they do not make sense.
std::optional<ViewsArguments> ParseArguments(const QStringList& args)
{
    ViewsArguments parsed;
    QStringList positional;
    for (qsizetype i = 1; i < args.size(); ++i) {
        QString scaleText;
        if (args[i] == "--scale") {
            if (i + 1 == args.size()) {
                std::fputs("keltally-views: --scale needs auto or a number of MB/s\n", stderr);
                return std::nullopt;
            }
            scaleText = args[++i];
        } else if (args[i].startsWith("--scale=")) {
            scaleText = args[i].mid(8);
        } else {
            positional << args[i];
            continue;
        }
        const auto scale = kel::ParseGraphScale(scaleText.toStdString());
        if (!scale) {
            std::fprintf(stderr, "keltally-views: %s\n", kel::GraphScaleRefusal(scaleText.toStdString()).c_str());
            return std::nullopt;
        }
        parsed.scale = *scale;
    }
    if (positional.size() != 2) {
        std::fputs(kUsage, stderr);
        return std::nullopt;
    }
    parsed.record = positional[0];
    parsed.folder = positional[1];
    return parsed;
}

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
    const std::optional<QByteArray> png = kel::PngBytes(image);
    if (!png) {
        std::fprintf(stderr, "keltally-views: cannot draw %s\n", qPrintable(path));
        return false;
    }
    if (const auto failure = kel::WriteReport(path, *png)) {
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
    const auto args = ParseArguments(QCoreApplication::arguments());
    if (!args) {
        return 2;
    }
    QByteArray bytes;
    QString problem;
    if (!ReadInput(args->record, bytes, problem)) {
        std::fprintf(stderr, "keltally-views: cannot read %s: %s\n", qPrintable(args->record), qPrintable(problem));
        return 1;
    }
    const auto record = kel::ParseRunRecord(bytes, problem);
    if (!record) {
        std::fprintf(stderr, "keltally-views: %s is refused: %s\n", qPrintable(args->record), qPrintable(problem));
        return 1;
    }
    // The results view's client area in the dialog.
    kel::ResultImages images(QSize(510, 299), args->scale);
    const kel::RunParameters& p = record->parameters;
    images.ConfigureRun(p.readReps, p.writeReps, p.simultaneous, p.minRead, p.minWrite);
    for (const kel::RecordedPass& pass : record->passes) {
        images.AddPassResults(pass.number, pass.samples.data(), static_cast<int>(pass.samples.size()), pass.rate,
                              pass.isWrite ? 1 : 0);
    }
    const QString& folder = args->folder;
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "keltally-views: cannot make the folder %s\n", qPrintable(folder));
        return 1;
    }
    const bool saved = SavePicture(images.GraphImage(), folder + "/graph.png");
    return saved && SavePicture(images.TextImage(), folder + "/text.png") ? 0 : 1;
}
