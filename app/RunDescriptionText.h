#pragma once
// What the dialog of every toolkit tells about a run besides its figures, as
// plain text (UTF-8): a file name to save it under, a warning when the files
// were not reached as on a disk with the cache bypassed, and the header that
// Copy Results puts above the figures.

#include "record/RunRecord.h"

#include <string>

namespace kel {

// A local date and time, as the toolkit gives it.
struct LocalDateTime {
    int year = 0;
    int month = 0;  // 1 to 12
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// "keltally-2026-12-09-1432-C.json" from the run's start in local time and
// its drive letter; without a letter (0) "keltally-2026-12-09-1432.json".
// Only letters, digits and "-": every file system takes it.
std::string ProposedRecordFileName(const LocalDateTime& start, char driveLetter);

// Whether files of that file system type lie in memory.
bool IsInMemoryFileSystem(const std::string& type);

// One or two short lines when the figures are not a disk's with the cache
// bypassed: the folder lies in memory, or direct I/O was refused for some
// or all files. Empty otherwise, and before the access is known.
std::string FileAccessNoticeText(const RunRecord& record);

// How the files were reached, for the header: "unbuffered (direct I/O)",
// "buffered fallback ...", "in memory (tmpfs) ...".
std::string FileAccessDescription(const RunRecord& record);

// Lines naming the drive and its file system, the start date and time, the
// parameters and minimum rates, and how the files were reached; a blank
// line ends it.
std::string ResultsHeaderText(const RunRecord& record, const LocalDateTime& start, char driveLetter);

}  // namespace kel
