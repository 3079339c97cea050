#pragma once
// Where the reports of a run go: the record, the metrics, the pictures.
//
// A regular file (or a name not yet taken) is replaced atomically: the bytes
// go to a temporary file in the same folder, which is flushed to the device
// and checked before it takes the name, so a reader never sees half a
// report and a failed write (a full disk, a folder removed meanwhile) leaves
// the old one as it was. Anything else is written directly and never
// replaced: "-" (standard output), a terminal, a pipe or FIFO, a device, and
// the links under /dev and /proc that lead to a descriptor of the process
// (/dev/stdout, /dev/fd/1), which may stand for a file the shell has opened.
// Paths are the system's bytes; messages show them with PrintableText.

#include <optional>
#include <string>
#include <string_view>

namespace kel {

struct ReportFailure {
    std::string text;     // why, for a person, with the system's reason
    int systemError = 0;  // the system's code
};

// Nothing when target can take a report, else why not. Meant for the check
// before a run, so that no run is wasted on a report that cannot be written;
// leaves nothing behind.
std::optional<std::string> CheckReportTarget(const std::string& target);

// The same for a folder that is to receive files; makes it when missing.
std::optional<std::string> PrepareReportFolder(const std::string& folder);

// Writes the whole report to target; nothing when it has been written.
std::optional<ReportFailure> WriteReport(const std::string& target, std::string_view bytes);

// Whether two report targets name one file: the same file where both exist,
// else the same absolute path.
bool SameReportTarget(const std::string& a, const std::string& b);

// The pictures of a run: "graph.png" and "text.png" in a folder, or beside a
// saved record with prefix "run-" for "run-graph.png" and "run-text.png".
std::string GraphPictureName(const std::string& prefix = {});
std::string TextPictureName(const std::string& prefix = {});

}  // namespace kel
