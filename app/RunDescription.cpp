#include "app/RunDescription.h"

#include <chrono>

namespace kel {

namespace {

LocalDateTime LocalOf(const QDateTime& time)
{
    const QDate date = time.date();
    const QTime clock = time.time();
    return {date.year(), date.month(), date.day(), clock.hour(), clock.minute(), clock.second()};
}

}  // namespace

QDateTime StartTime(const RunRecord& record)
{
    const auto sinceEpoch = std::chrono::duration_cast<std::chrono::milliseconds>(record.start.time_since_epoch());
    return QDateTime::fromMSecsSinceEpoch(sinceEpoch.count());
}

QString ProposedRecordName(const QDateTime& start, char driveLetter)
{
    return QString::fromStdString(ProposedRecordFileName(LocalOf(start), driveLetter));
}

QString FileAccessNotice(const RunRecord& record)
{
    return QString::fromStdString(FileAccessNoticeText(record));
}

QString FileAccessText(const RunRecord& record)
{
    return QString::fromStdString(FileAccessDescription(record));
}

QString ResultsHeader(const RunRecord& record, const QDateTime& start, char driveLetter)
{
    return QString::fromStdString(ResultsHeaderText(record, LocalOf(start), driveLetter));
}

}  // namespace kel
