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

#include <QGuiApplication>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

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
    std::string record;
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
    if (positional.size() != 2) {
        std::fputs(kUsage, stderr);
        return std::nullopt;
    }
    parsed.record = positional[0];
    parsed.folder = positional[1];
    return parsed;
}

// The record read from the file (or standard input for "-") as it comes;
// nothing, after telling why, when it cannot be read or breaks a rule.
std::optional<kel::RunRecord> ReadRecord(const std::string& name)
{
    const std::string shown = kel::PrintableText(name);
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(name == "-" ? nullptr : std::fopen(name.c_str(), "rb"),
                                                        &std::fclose);
    if (name != "-" && !file) {
        const int error = errno;
        std::fprintf(stderr, "keltally-views: cannot read %s: %s\n", shown.c_str(), kel::SystemErrorText(error).c_str());
        return std::nullopt;
    }
    std::string problem;
    auto record = kel::ReadRunRecord(file ? file.get() : stdin, problem);
    if (!record) {
        std::fprintf(stderr, "keltally-views: %s is refused: %s\n", shown.c_str(), problem.c_str());
    }
    return record;
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
    const auto record = ReadRecord(args->record);
    if (!record) {
        return 1;
    }
    // Fonts need a GUI application, but never a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    // The results view's client area in the dialog.
    kel::ResultImages images(QSize(510, 299), args->scale);
    const kel::RunParameters& p = record->parameters;
    images.ConfigureRun(p.readReps, p.writeReps, p.simultaneous, p.minRead, p.minWrite);
    for (const kel::RecordedPass& pass : record->passes) {
        images.AddPassResults(pass.number, pass.samples.data(), static_cast<int>(pass.samples.size()), pass.rate,
                              pass.isWrite ? 1 : 0);
        if (pass.hasFigures) {
            images.AddPassFigures(pass.figures);
        }
    }
    const std::string& folder = args->folder;
    if (const int error = kel::MakeFolders(folder)) {
        std::fprintf(stderr, "keltally-views: cannot make the folder %s: %s\n", kel::PrintableText(folder).c_str(),
                     kel::SystemErrorText(error).c_str());
        return 1;
    }
    const bool saved = SavePicture(images.GraphImage(), folder + "/" + kel::GraphPictureName());
    return saved && SavePicture(images.TextImage(), folder + "/" + kel::TextPictureName()) ? 0 : 1;
}
