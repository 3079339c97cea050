// keltally-views: draws the results view's graph and text images of a run
// from its JSON record. The runner calls it for --png, so that the runner
// itself never loads the drawing libraries.

#include "Version.h"
#include "cli/ViewsPictures.h"
#include "record/RecordReading.h"
#include "record/ReportTarget.h"

#include "platform/ProgramArguments.h"
#include "platform/ReportFiles.h"
#include "platform/SystemError.h"
#include "platform/TextRules.h"

#include <cerrno>
#include <cstdio>
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

// The record's name in the legend: its file name without the folders.
std::string RunName(const std::string& record)
{
    if (record == "-") {
        return "standard input";
    }
#ifdef _WIN32
    const std::size_t slash = record.find_last_of("/\\");
#else
    const std::size_t slash = record.find_last_of('/');
#endif
    return slash == std::string::npos ? record : record.substr(slash + 1);
}

// The drawing and its painter, made once a record has shown its parameters
// (the pictures go first), so an unreadable record never starts the painter.
struct Drawing {
    std::unique_ptr<kel::RecordPictures> pictures;

    kel::ResultDrawing& Images(const ViewsArguments& args)
    {
        if (!pictures) {
            pictures = kel::MakeRecordPictures(args.scale);
            if (args.records.size() > 1) {
                std::vector<std::string> names;
                for (const std::string& record : args.records) {
                    names.push_back(RunName(record));
                }
                pictures->Drawing().SetRunNames(std::move(names));
            }
        }
        return pictures->Drawing();
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
bool DrawRecords(const ViewsArguments& args, Drawing& drawing)
{
    for (std::size_t run = 1; run < args.records.size(); ++run) {
        kel::RunParameters parameters;
        const kel::RecordPassReceiver compared {
            [&](const kel::RunParameters& p) {
                drawing.Images(args);
                parameters = p;
            },
            [&](kel::RecordedPass&& pass) {
                drawing.Images(args).AddComparedPass(static_cast<int>(run), pass.number,
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
            drawing.Images(args).ConfigureRun(p.readReps, p.writeReps, p.simultaneous, p.minRead, p.minWrite);
        },
        [&](kel::RecordedPass&& pass) {
            drawing.Images(args).AddPassResults(pass.number, pass.samples.data(),
                                                static_cast<int>(pass.samples.size()), pass.rate, pass.isWrite ? 1 : 0);
            if (pass.hasFigures) {
                drawing.Images(args).AddPassFigures(pass.figures);
            }
        }};
    return ReadRecord(args.records.front(), first);
}

bool SavePicture(const std::string& png, const std::string& path)
{
    if (png.empty()) {
        std::fprintf(stderr, "keltally-views: cannot draw %s\n", kel::PrintableText(path).c_str());
        return false;
    }
    if (const auto failure = kel::WriteReport(path, png)) {
        std::fprintf(stderr, "keltally-views: cannot write %s\n", failure->text.c_str());
        return false;
    }
    return true;
}

int ViewsMain(const std::vector<std::string>& arguments)
{
    // These answers need no drawing at all.
    if (arguments.size() == 2 && (arguments[1] == "--version" || arguments[1] == "-v")) {
        std::printf("keltally-views %s\n", kel::kVersion);
        return 0;
    }
    if (arguments.size() == 2 && (arguments[1] == "--help" || arguments[1] == "-h")) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    const auto args = ParseArguments(arguments);
    if (!args) {
        return 2;
    }
    Drawing drawing;
    if (!DrawRecords(*args, drawing)) {
        return 1;
    }
    const std::string& folder = args->folder;
    if (const int error = kel::MakeFolders(folder)) {
        std::fprintf(stderr, "keltally-views: cannot make the folder %s: %s\n", kel::PrintableText(folder).c_str(),
                     kel::SystemErrorText(error).c_str());
        return 1;
    }
    drawing.Images(*args);
    const kel::PicturesPng pictures = drawing.pictures->Png();
    const bool saved = SavePicture(pictures.graph, folder + "/" + kel::GraphPictureName());
    return saved && SavePicture(pictures.text, folder + "/" + kel::TextPictureName()) ? 0 : 1;
}

}  // namespace

#ifdef _WIN32
int wmain(int argc, wchar_t* argv[])
#else
int main(int argc, char* argv[])
#endif
{
    // On Linux the arguments stay the system's bytes, whatever their
    // encoding; on Windows they are UTF-8 from the system's UTF-16.
    kel::PrepareStandardStreams();
    return ViewsMain(kel::ProgramArguments(argc, argv));
}
