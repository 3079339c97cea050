#include "cli/CliTargets.h"

#include "drives/DriveCheck.h"
#include "engine/TestFileName.h"
#include "platform/ReportFiles.h"
#include "platform/SystemError.h"
#include "platform/TextRules.h"
#include "record/RecordJson.h"
#include "record/ReportTarget.h"

#include <cerrno>
#include <cstdio>
#include <utility>
#include <vector>

namespace kel {

namespace {

constexpr int kLastTestFileIndex = 99;

std::string ViewsProgram()
{
    return ExecutableFolder() + "/" + ProgramFileName("keltally-views");
}

std::string Quoted(const std::string& path)
{
    return "\"" + PrintableText(path) + "\"";
}

// Whether path is, inside the test folder, a name the run itself takes: a
// test file, the extra file of a simultaneous run or the drive check's probe.
// The run would truncate or delete such a report, or fail on such a folder.
bool IsRunFileName(const std::string& path, const std::string& testFolder)
{
    const std::string absolute = AbsolutePath(path);
    const std::string name = NameOf(absolute);
    bool runName = name == kProbeFileName;
    TestFileName file(testFolder);
    for (int index = kExtraFileIndex; index <= kLastTestFileIndex && !runName; ++index) {
        if (index >= 0 || index == kExtraFileIndex) {
            MakeTestFileName(file, index);
            runName = name == file.Name();
        }
    }
    return runName && SameReportTarget(FolderOf(absolute), testFolder);
}

std::optional<std::string> RunFileRefusal(const char* option, const std::string& path, const std::string& testFolder)
{
    if (IsRunFileName(path, testFolder)) {
        return std::string(option) + ": " + Quoted(path) + " is a name the run's own files take in the test folder";
    }
    return std::nullopt;
}

// The refusal of two reports that would land in one file, or nothing.
std::optional<std::string> ClashRefusal(const std::vector<std::pair<const char*, std::string>>& files)
{
    for (std::size_t i = 0; i < files.size(); ++i) {
        for (std::size_t j = i + 1; j < files.size(); ++j) {
            const std::string& a = files[i].second;
            const std::string& b = files[j].second;
            if (!a.empty() && !b.empty() && a != "-" && b != "-" && SameReportTarget(a, b)) {
                return std::string(files[i].first) + " and " + files[j].first + " name the same file " + Quoted(b);
            }
        }
    }
    return std::nullopt;
}

// keltally-views, beside this program, draws the two pictures from the
// record, so that the runner itself never loads the drawing libraries.
bool DrawPictures(const std::string& record, const std::string& folder, const GraphScale& scale)
{
    const std::string program = ViewsProgram();
    const ChildResult drawn =
        RunChildProcess(program, {program, "--scale", GraphScaleText(scale), "-", folder}, record);
    if (drawn.startError != 0) {
        std::fprintf(stderr, "keltally-cli: cannot start %s: %s\n", PrintableText(program).c_str(),
                     SystemErrorText(drawn.startError).c_str());
    }
    return drawn.exitCode == 0;
}

}  // namespace

std::optional<std::string> CheckReportTargets(const CliOptions& options, const std::string& testFolder)
{
    for (const auto& [option, target] : {std::pair {"--json", options.jsonFile}, {"--metrics", options.metricsFile}}) {
        if (target.empty()) {
            continue;
        }
        if (const auto refusal = RunFileRefusal(option, target, testFolder)) {
            return refusal;
        }
        if (const auto refusal = CheckReportTarget(target)) {
            return std::string(option) + ": " + *refusal;
        }
    }
    std::vector<std::pair<const char*, std::string>> files {{"--json", options.jsonFile},
                                                            {"--metrics", options.metricsFile}};
    if (const auto refusal = ClashRefusal(files)) {
        return refusal;
    }
    if (options.pngDir.empty()) {
        return std::nullopt;
    }
    if (const auto refusal = RunFileRefusal("--png", options.pngDir, testFolder)) {
        return refusal;
    }
    for (const std::string& name : {GraphPictureName(), TextPictureName()}) {
        files.emplace_back("--png", options.pngDir + "/" + name);
    }
    if (const auto refusal = ClashRefusal(files)) {
        return refusal;
    }
    if (const auto refusal = PrepareReportFolder(options.pngDir)) {
        return "--png: " + *refusal;
    }
    for (const std::string& name : {GraphPictureName(), TextPictureName()}) {
        if (const auto refusal = CheckReportTarget(options.pngDir + "/" + name)) {
            return "--png: " + *refusal;
        }
    }
    if (!IsExecutableFile(ViewsProgram())) {
        return "--png: " + PrintableText(ViewsProgram()) + ", which draws the pictures, is missing";
    }
    return std::nullopt;
}

int WriteReports(const CliOptions& options, const RunRecord& record)
{
    int error = 0;
    const auto note = [&](int code) { error = error == kErrorBrokenPipe ? kErrorBrokenPipe : code; };
    const auto write = [&](const std::string& target, const std::string& bytes, const char* what) {
        if (const auto failure = WriteReport(target, bytes)) {
            std::fprintf(stderr, "keltally-cli: cannot write the %s: %s\n", what, failure->text.c_str());
            note(failure->systemError);
        }
    };
    const std::string json = options.jsonFile.empty() && options.pngDir.empty() ? std::string() : RecordJson(record);
    if (!options.jsonFile.empty()) {
        write(options.jsonFile, json, "record");
    }
    if (!options.metricsFile.empty()) {
        write(options.metricsFile, RunMetrics(record), "metrics");
    }
    if (!options.pngDir.empty() && !DrawPictures(json, options.pngDir, options.pngScale)) {
        std::fprintf(stderr, "keltally-cli: the pictures could not be written to %s\n",
                     PrintableText(options.pngDir).c_str());
        note(EIO);
    }
    return error;
}

}  // namespace kel
