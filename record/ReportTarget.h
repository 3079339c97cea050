#pragma once
// Where the reports of a run go: the record, the metrics, the pictures.
//
// A regular file (or a name not yet taken) is replaced atomically: the bytes
// go to a temporary file in the same folder, which then takes the name, so a
// reader never sees half a report and a failed write leaves the old one.
// Anything else is written directly and never replaced: "-" (standard
// output), a terminal, a pipe or FIFO, a device, and the links under /dev and
// /proc that lead to a descriptor of the process (/dev/stdout, /dev/fd/1),
// which may stand for a file the shell has opened.

#include <QByteArray>
#include <QString>

#include <optional>

namespace kel {

struct ReportFailure {
    QString text;         // why, for a person
    int systemError = 0;  // the system's code where known (standard output), else 0
};

// Nothing when target can take a report, else why not. Meant for the check
// before a run, so that no run is wasted on a report that cannot be written;
// leaves nothing behind.
std::optional<QString> CheckReportTarget(const QString& target);

// The same for a folder that is to receive files; makes it when missing.
std::optional<QString> PrepareReportFolder(const QString& folder);

// Writes the whole report to target; nothing when it has been written.
std::optional<ReportFailure> WriteReport(const QString& target, const QByteArray& bytes);

}  // namespace kel
