#pragma once
// The drive table as the dialog lists it, for choosing --drive in a script:
// letter, free bytes, file-system type, device, mount point, root path (the
// folder the test files go to) and label.

#include "platform/DriveTable.h"

#include <string>

namespace kel {

// As JSON, or as a table under a heading line.
std::string FormatDriveList(const DriveTable& drives, bool json);

}  // namespace kel
