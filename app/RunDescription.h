#pragma once
// What the dialog tells about a run besides its figures, for Qt: the texts
// of RunDescriptionText.h on a QDateTime and as QStrings.

#include "app/RunDescriptionText.h"
#include "record/RunRecord.h"

#include <QDateTime>
#include <QString>

namespace kel {

// The run's start as a local date and time.
QDateTime StartTime(const RunRecord& record);

// ProposedRecordFileName.
QString ProposedRecordName(const QDateTime& start, char driveLetter);
// FileAccessNoticeText.
QString FileAccessNotice(const RunRecord& record);
// FileAccessDescription.
QString FileAccessText(const RunRecord& record);
// ResultsHeaderText.
QString ResultsHeader(const RunRecord& record, const QDateTime& start, char driveLetter);

}  // namespace kel
