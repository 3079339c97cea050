// keltally-views: draws the results view's graph and text images of a run
// from its JSON record. The runner calls it for --png, so that the runner
// itself never loads the drawing libraries.

#include "Version.h"
#include "record/RecordReading.h"
#include "record/ReportTarget.h"
#include "view/ResultImages.h"

#include "platform/ReportFiles.h"
#include "platform/SystemError.h"
#include "platform/TextRules.h"

#include <QFileInfo>
#include <QGuiApplication>

#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

const char* const kUsage =
    "Usage: keltally-views [--scale auto|N] RUN.json [OTHER.json ...] FOLDER\n"
    "Writes FOLDER/graph.png and FOLDER/text.png, the graph and text views of the run, from a record of\n"
    "keltally-cli --json (- reads it from standard input). FOLDER is made when missing. A record that breaks\n"
    "the rules of the format is refused with its first problem (exit 1). The passes of other records are\n"
    "drawn beneath the run's in lighter shades, the legend naming each record; the text view is the run's.\n"
    "\n"
    "Options:\n"
    "  -h, --help         Show this help.\n"
    "  -v, --version      Show the version.\n"
    "  --scale <auto|N>   The graph's scale: default (as without it) shows 0 to 20 MB/s while every sample\n"
    "                     fits, else the fitted scale, its top at most 25 % above the fastest sample; auto\n"
    "                     always fits it; N (1 to 1000000) fixes the top at N MB/s (--scale 20: always 0 to 20).\n";

struct ViewsArguments {
    std::vector<std::string> records;  // the first drawn as the run, the others beneath
    std::string folder;
    kel::GraphScale scale = kel::DefaultGraphScale();
};

// The record, the folder and --scale in any order; nothing, after telling
// why, when they do not make sense.
std::optional<ViewsArguments> ParseArguments(const std::vector<std::string>& args)
{
    ViewsArguments parsed;
    std::vector<std::string> positional;
    for (std::size_t i = 1; i < args.size(); ++i) {
        std::string scaleText;
        if (args[i] == "--scale") {
            if (i + 1 == args.size()) {
                std::fputs("keltally-views: --scale needs auto or a number of MB/s\n", stderr);
                return std::nullopt;
            }
            scaleText = args[++i];
        } else if (args[i].rfind("--scale=", 0) == 0) {
            scaleText = args[i].substr(8);
        } else {
            positional.push_back(args[i]);
            continue;
        }
        const auto scale = kel::ParseGraphScale(scaleText);
        if (!scale) {
            std::fprintf(stderr, "keltally-views: %s\n", kel::GraphScaleRefusal(kel::PrintableText(scaleText)).c_str());
            return std::nullopt;
        }
        parsed.scale = *scale;
    }
    if (positional.size() < 2) {
        std::fputs(kUsage, stderr);
        return std::nullopt;
    }
    parsed.folder = positional.back();
    positional.pop_back();
    parsed.records = std::move(positional);
    return parsed;
}

// The application the drawing needs and the images, made once a record
// has shown its parameters (the images go first).
struct Drawing {
    std::optional<QGuiApplication> app;
    std::optional<kel::ResultImages> images;

    kel::ResultImages& Images(int& argc, char** argv, const ViewsArguments& args)
    {
        if (!app) {
            // Fonts need a GUI application, but never a display.
            qputenv("QT_QPA_PLATFORM", "offscreen");
            app.emplace(argc, argv);
            // The application takes the user's locale, and the record being
            // read has begun with the C locale's decimal point.
            std::setlocale(LC_NUMERIC, "C");
            // The results view's client area in the dialog.
            images.emplace(QSize(510, 299), args.scale);
            if (args.records.size() > 1) {
                std::vector<QString> names;
                for (const std::string& record : args.records) {
                    names.push_back(record == "-" ? QStringLiteral("standard input")
                                                  : QFileInfo(QString::fromLocal8Bit(record)).fileName());
                }
                images->SetRunNames(std::move(names));
            }
        }
        return *images;
    }
};

// Reads the record from the file (or standard input for "-") as it comes,
// handing each pass on as soon as it has been read, so only one is ever
// held; false, after telling why, when it cannot be read or breaks a rule.
bool ReadRecord(const std::string& name, const kel::RecordPassReceiver& receiver)
{
    const std::string shown = kel::PrintableText(name);
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(name == "-" ? nullptr : std::fopen(name.c_str(), "rb"),
                                                        &std::fclose);
    if (name != "-" && !file) {
        const int error = errno;
        std::fprintf(stderr, "keltally-views: cannot read %s: %s\n", shown.c_str(), kel::SystemErrorText(error).c_str());
        return false;
    }
    std::string problem;
    if (!kel::StreamRunRecord(file ? file.get() : stdin, receiver, problem)) {
        std::fprintf(stderr, "keltally-views: %s is refused: %s\n", shown.c_str(), problem.c_str());
        return false;
    }
    return true;
}

// The other records first, beneath in lighter shades, then the first one
// as a single record is drawn.
bool DrawRecords(const ViewsArguments& args, int& argc, char** argv, Drawing& drawing)
{
    for (std::size_t run = 1; run < args.records.size(); ++run) {
        kel::RunParameters parameters;
        const kel::RecordPassReceiver compared {
            [&](const kel::RunParameters& p) {
                drawing.Images(argc, argv, args);
                parameters = p;
            },
            [&](kel::RecordedPass&& pass) {
                drawing.images->AddComparedPass(static_cast<int>(run), pass.number,
                                                pass.isWrite ? parameters.writeReps : parameters.readReps,
                                                pass.samples.data(), static_cast<int>(pass.samples.size()),
                                                pass.isWrite);
            }};
        if (!ReadRecord(args.records[run], compared)) {
            return false;
        }
    }
    const kel::RecordPassReceiver first {
        [&](const kel::RunParameters& p) {
            drawing.Images(argc, argv, args).ConfigureRun(p.readReps, p.writeReps, p.simultaneous, p.minRead,
                                                          p.minWrite);
        },
        [&](kel::RecordedPass&& pass) {
            drawing.images->AddPassResults(pass.number, pass.samples.data(), static_cast<int>(pass.samples.size()),
                                           pass.rate, pass.isWrite ? 1 : 0);
            if (pass.hasFigures) {
                drawing.images->AddPassFigures(pass.figures);
            }
        }};
    return ReadRecord(args.records.front(), first);
}

bool SavePicture(const QImage& image, const std::string& path)
{
    const std::optional<QByteArray> png = kel::PngBytes(image);
    if (!png) {
        std::fprintf(stderr, "keltally-views: cannot draw %s\n", kel::PrintableText(path).c_str());
        return false;
    }
    const std::string_view bytes(png->constData(), static_cast<std::size_t>(png->size()));
    if (const auto failure = kel::WriteReport(path, bytes)) {
        std::fprintf(stderr, "keltally-views: cannot write %s\n", failure->text.c_str());
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
    // The arguments stay the system's bytes, whatever their encoding.
    const auto args = ParseArguments(std::vector<std::string>(argv, argv + argc));
    if (!args) {
        return 2;
    }
    Drawing drawing;
    if (!DrawRecords(*args, argc, argv, drawing)) {
        return 1;
    }
    const std::string& folder = args->folder;
    if (const int error = kel::MakeFolders(folder)) {
        std::fprintf(stderr, "keltally-views: cannot make the folder %s: %s\n", kel::PrintableText(folder).c_str(),
                     kel::SystemErrorText(error).c_str());
        return 1;
    }
    const kel::ResultImages& images = *drawing.images;
    const bool saved = SavePicture(images.GraphImage(), folder + "/" + kel::GraphPictureName());
    return saved && SavePicture(images.TextImage(), folder + "/" + kel::TextPictureName()) ? 0 : 1;
}
