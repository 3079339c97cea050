#include "app/RunDescriptionText.h"

#include "app/FieldCheck.h"
#include "platform/TextRules.h"

#include <cstdio>

namespace kel {

namespace {

std::string MinimumText(int thousandths)
{
    return thousandths > 0 ? RateEntryText(thousandths) + " MB/s" : std::string("none");
}

std::string Plural(int count, const char* one, const char* many)
{
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

bool IsDriveLetter(char letter)
{
    return letter >= 'A' && letter <= 'Z';
}

}  // namespace

std::string ProposedRecordFileName(const LocalDateTime& start, char driveLetter)
{
    char stamp[64] = {};
    std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d-%02d%02d", start.year, start.month, start.day, start.hour,
                  start.minute);
    std::string name = std::string("keltally-") + stamp;
    if (IsDriveLetter(driveLetter)) {
        name += std::string("-") + driveLetter;
    }
    return name + ".json";
}

bool IsInMemoryFileSystem(const std::string& type)
{
    return type == "tmpfs" || type == "ramfs";
}

std::string FileAccessNoticeText(const RunRecord& record)
{
    if (IsInMemoryFileSystem(record.fileSystem.type)) {
        return "The test folder lies in memory (" + PrintableText(record.fileSystem.type) +
               "): these figures are not a disk's.";
    }
    switch (record.outcome.fileAccess) {
    case FileAccess::SyncBuffered:
        return "Direct I/O was refused: the files were reached through the buffered fallback.";
    case FileAccess::Mixed:
        return "Direct I/O was refused for some files: those went through the buffered fallback.";
    case FileAccess::None:
    case FileAccess::Direct:
        break;
    }
    return {};
}

std::string FileAccessDescription(const RunRecord& record)
{
    std::string text;
    switch (record.outcome.fileAccess) {
    case FileAccess::None:
        text = "not known (no file was opened, or the run is in progress)";
        break;
    case FileAccess::Direct:
        text = "unbuffered (direct I/O)";
        break;
    case FileAccess::SyncBuffered:
        text = "buffered fallback (direct I/O refused; synchronous writes, cached pages dropped before reading)";
        break;
    case FileAccess::Mixed:
        text = "partly unbuffered, partly through the buffered fallback";
        break;
    }
    if (IsInMemoryFileSystem(record.fileSystem.type)) {
        text = "in memory (" + PrintableText(record.fileSystem.type) + "), not a disk; " + text;
    }
    return text;
}

std::string ResultsHeaderText(const RunRecord& record, const LocalDateTime& start, char driveLetter)
{
    const FileSystemInfo& fs = record.fileSystem;
    std::string where = PrintableText(fs.type.empty() ? std::string("file system not known") : fs.type);
    if (!fs.device.empty()) {
        where += " on " + PrintableText(fs.device);
    }
    if (!fs.label.empty()) {
        where += ", label \"" + PrintableText(fs.label) + "\"";
    }
    const std::string letter = IsDriveLetter(driveLetter) ? std::string(1, driveLetter) + ": " : std::string();
    char started[64] = {};
    std::snprintf(started, sizeof started, "%04d-%02d-%02d %02d:%02d:%02d", start.year, start.month, start.day,
                  start.hour, start.minute, start.second);
    const RunParameters& p = record.parameters;
    const std::string passes =
        p.simultaneous != 0
            ? Plural(p.readReps, "read pass", "read passes") + ", each writing an extra file"
            : Plural(p.writeReps, "write pass", "write passes") + ", " + Plural(p.readReps, "read pass", "read passes");
    return "Kel Tallyforge results\n"
           "Drive: " + letter + PrintableText(record.directory) + " (" + where + ")\n"
           "Started: " + started + "\n"
           "Parameters: " + Plural(p.numFiles, "file", "files") + " of " + std::to_string(p.fileSizeKB) + " KB, " +
           std::to_string(p.bufSizeKB) + " KB transfers, " + passes + ", " +
           Plural(p.sampsSec, "sample", "samples") + " per second\n"
           "Minimum rates: read " + MinimumText(p.minRead) + ", write " + MinimumText(p.minWrite) + "\n"
           "Files reached: " + FileAccessDescription(record) + "\n\n";
}

}  // namespace kel
