#include "app/RunDescription.h"

#include "app/DataExchange.h"
#include "platform/TextRules.h"

#include <chrono>

namespace kel {

namespace {

QString Printable(const std::string& text)
{
    return QString::fromStdString(PrintableText(text));
}

QString MinimumText(int thousandths)
{
    return thousandths > 0 ? RateFieldText(thousandths) + QStringLiteral(" MB/s") : QStringLiteral("none");
}

QString Plural(int count, const char* one, const char* many)
{
    return QStringLiteral("%1 %2").arg(count).arg(QLatin1String(count == 1 ? one : many));
}

}  // namespace

QDateTime StartTime(const RunRecord& record)
{
    const auto sinceEpoch = std::chrono::duration_cast<std::chrono::milliseconds>(record.start.time_since_epoch());
    return QDateTime::fromMSecsSinceEpoch(sinceEpoch.count());
}

QString ProposedRecordName(const QDateTime& start, char driveLetter)
{
    QString name = QStringLiteral("keltally-") + start.toString(QStringLiteral("yyyy-MM-dd-HHmm"));
    if (driveLetter >= 'A' && driveLetter <= 'Z') {
        name += u'-' + QChar(driveLetter);
    }
    return name + QStringLiteral(".json");
}

bool IsInMemoryFileSystem(const std::string& type)
{
    return type == "tmpfs" || type == "ramfs";
}

QString FileAccessNotice(const RunRecord& record)
{
    if (IsInMemoryFileSystem(record.fileSystem.type)) {
        return QStringLiteral("The test folder lies in memory (%1): these figures are not a disk's.")
            .arg(Printable(record.fileSystem.type));
    }
    switch (record.outcome.fileAccess) {
    case FileAccess::SyncBuffered:
        return QStringLiteral("Direct I/O was refused: the files were reached through the buffered fallback.");
    case FileAccess::Mixed:
        return QStringLiteral("Direct I/O was refused for some files: those went through the buffered fallback.");
    case FileAccess::None:
    case FileAccess::Direct:
        break;
    }
    return {};
}

QString FileAccessText(const RunRecord& record)
{
    QString text;
    switch (record.outcome.fileAccess) {
    case FileAccess::None:
        text = QStringLiteral("not known (no file was opened, or the run is in progress)");
        break;
    case FileAccess::Direct:
        text = QStringLiteral("unbuffered (direct I/O)");
        break;
    case FileAccess::SyncBuffered:
        text = QStringLiteral("buffered fallback (direct I/O refused; synchronous writes, cached pages dropped "
                              "before reading)");
        break;
    case FileAccess::Mixed:
        text = QStringLiteral("partly unbuffered, partly through the buffered fallback");
        break;
    }
    if (IsInMemoryFileSystem(record.fileSystem.type)) {
        text = QStringLiteral("in memory (%1), not a disk; %2").arg(Printable(record.fileSystem.type), text);
    }
    return text;
}

QString ResultsHeader(const RunRecord& record, const QDateTime& start, char driveLetter)
{
    const FileSystemInfo& fs = record.fileSystem;
    QString where = Printable(fs.type.empty() ? std::string("file system not known") : fs.type);
    if (!fs.device.empty()) {
        where += QStringLiteral(" on ") + Printable(fs.device);
    }
    if (!fs.label.empty()) {
        where += QStringLiteral(", label \"%1\"").arg(Printable(fs.label));
    }
    const QString letter = driveLetter >= 'A' && driveLetter <= 'Z' ? QStringLiteral("%1: ").arg(QChar(driveLetter))
                                                                    : QString();
    const RunParameters& p = record.parameters;
    const QString passes = p.simultaneous != 0
                               ? Plural(p.readReps, "read pass", "read passes") +
                                     QStringLiteral(", each writing an extra file")
                               : Plural(p.writeReps, "write pass", "write passes") + QStringLiteral(", ") +
                                     Plural(p.readReps, "read pass", "read passes");
    // One arg call: a folder or label holding "%1" is not read as a place.
    return QStringLiteral("Kel Tallyforge results\n"
                          "Drive: %1%2 (%3)\n"
                          "Started: %4\n"
                          "Parameters: %5 of %6 KB, %7 KB transfers, %8, %9 per second\n"
                          "Minimum rates: read %10, write %11\n"
                          "Files reached: %12\n\n")
        .arg(letter, Printable(record.directory), where, start.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
             Plural(p.numFiles, "file", "files"), QString::number(p.fileSizeKB), QString::number(p.bufSizeKB),
             passes, Plural(p.sampsSec, "sample", "samples"), MinimumText(p.minRead), MinimumText(p.minWrite),
             FileAccessText(record));
}

}  // namespace kel
