#pragma once
// The check made before a run: the drive can be queried, written, and holds
// the test files with a 20 % margin (the space that the program's own files
// from an earlier run hold counts as free, since the run replaces them). The
// first refusal that applies, in that order, is shown as a plain message box
// with its own reason and the check answers 0.

#include "platform/DriveTable.h"
#include "platform/MessageSink.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kel {

// Name of the probe file created and deleted in the drive's root path.
constexpr const char* kProbeFileName = "jv7rt.d2w";

// Bytes the test files need plus the margin: (files + 1 when simultaneous)
// times the file size, and a fifth more.
double RequiredBytes(std::int32_t numFiles, std::int32_t fileSizeKB, bool simultaneous);

// Nothing when freeBytes covers requiredBytes, else the message that tells how
// many MB (of 1,000,000 bytes) are missing, rounded up to a tenth. It names
// the drive by its letter, or folder when the user named a folder instead.
std::optional<std::string> SpaceShortfallMessage(char shownLetter, double requiredBytes, std::uint64_t freeBytes,
                                                 std::string_view folder = {});

// 1 when a run may start on the drive, 0 when not (after telling why).
// The letter is shown as given; one that cannot be shown appears as '?'.
// When folder is not empty the messages name it instead of the letter: the
// user named a folder, not a drive.
int CheckDrive(int letter, const DriveTable& drives, std::int32_t numFiles, std::int32_t fileSizeKB,
               bool simultaneous, MessageSink& messages, std::string_view folder = {});

}  // namespace kel
