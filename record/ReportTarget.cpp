#include "record/ReportTarget.h"

#include "platform/ReportFiles.h"
#include "platform/SystemError.h"
#include "platform/TextRules.h"

namespace kel {

namespace {

const std::string kStandardOutput = "-";

std::string Quoted(const std::string& path)
{
    return "\"" + PrintableText(path) + "\"";
}

bool StartsWith(const std::string& text, std::string_view start)
{
    return text.compare(0, start.size(), start) == 0;
}

bool WrittenDirectly(const std::string& target, const PathFacts& facts)
{
    // /dev/stdout, /dev/fd/N and /proc/self/fd/N lead to a descriptor the
    // process already holds, even when that is a regular file.
    const std::string absolute = AbsolutePath(target);
    if (facts.isSymlink && (StartsWith(absolute, "/dev/") || StartsWith(absolute, "/proc/"))) {
        return true;
    }
    return facts.kind == PathKind::Other;
}

std::optional<std::string> CheckCanCreateIn(const std::string& folder)
{
    if (const int error = ProbeCreateIn(folder)) {
        // The folder is there, yet "no such file": its file system makes no
        // new files at all (/proc, /sys), whatever the permissions say.
        if (error == kErrorNotFound) {
            return "cannot write in the folder " + Quoted(folder) + ": its file system takes no new files";
        }
        return "cannot write in the folder " + Quoted(folder) + ": " + SystemErrorText(error);
    }
    return std::nullopt;
}

std::optional<ReportFailure> Failure(const std::string& where, int error)
{
    return ReportFailure {where + ": " + SystemErrorText(error), error};
}

}  // namespace

std::optional<std::string> CheckReportTarget(const std::string& target)
{
    if (target == kStandardOutput) {
        return std::nullopt;
    }
    const PathFacts facts = FactsOf(target);
    if (facts.kind == PathKind::Folder) {
        return Quoted(target) + " is a folder";
    }
    if (WrittenDirectly(target, facts)) {
        if (facts.kind == PathKind::Missing) {
            return Quoted(target) + " does not exist";
        }
        if (!facts.writable) {
            return Quoted(target) + " cannot be written";
        }
        return std::nullopt;
    }
    const std::string folder = FolderOf(AbsolutePath(target));
    if (FactsOf(folder).kind != PathKind::Folder) {
        return "the folder " + Quoted(folder) + " does not exist";
    }
    // Names there stand for devices and descriptors: a missing one is a
    // mistyped name, not a file to make.
    if (facts.kind == PathKind::Missing && (folder == "/dev" || folder == "/proc" || StartsWith(folder, "/proc/"))) {
        return "there is no device " + Quoted(target);
    }
    if (facts.kind != PathKind::Missing && !facts.writable) {
        return Quoted(target) + " is write-protected";
    }
    return CheckCanCreateIn(folder);
}

std::optional<std::string> PrepareReportFolder(const std::string& folder)
{
    const PathFacts facts = FactsOf(folder);
    if (facts.kind != PathKind::Missing && facts.kind != PathKind::Folder) {
        return Quoted(folder) + " is not a folder";
    }
    if (const int error = MakeFolders(folder)) {
        return "cannot make the folder " + Quoted(folder) + ": " + SystemErrorText(error);
    }
    return CheckCanCreateIn(AbsolutePath(folder));
}

std::optional<ReportFailure> WriteReport(const std::string& target, std::string_view bytes)
{
    if (target == kStandardOutput) {
        const int error = WriteToStandardOutput(bytes);
        return error != 0 ? Failure("standard output", error) : std::nullopt;
    }
    const int error = WrittenDirectly(target, FactsOf(target)) ? AppendToFile(target, bytes)
                                                                : ReplaceFileWhole(target, bytes);
    return error != 0 ? Failure(Quoted(target), error) : std::nullopt;
}

bool SameReportTarget(const std::string& a, const std::string& b)
{
    const PathFacts first = FactsOf(a);
    const PathFacts second = FactsOf(b);
    if (first.kind != PathKind::Missing && second.kind != PathKind::Missing) {
        return first.device == second.device && first.inode == second.inode;
    }
    return AbsolutePath(a) == AbsolutePath(b);
}

std::string GraphPictureName(const std::string& prefix)
{
    return prefix + "graph.png";
}

std::string TextPictureName(const std::string& prefix)
{
    return prefix + "text.png";
}

}  // namespace kel
