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
    const auto record = ReadRecord(args->record);
    if (!record) {
        return 1;
    }
    const kel::PicturesPng pictures = kel::DrawRecordPictures(*record, args->scale);
    const std::string& folder = args->folder;
    if (const int error = kel::MakeFolders(folder)) {
        std::fprintf(stderr, "keltally-views: cannot make the folder %s: %s\n", kel::PrintableText(folder).c_str(),
                     kel::SystemErrorText(error).c_str());
        return 1;
    }
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
