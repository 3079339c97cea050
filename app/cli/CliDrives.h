#pragma once
// The drive table as the dialog lists it, for choosing --drive in a script:
// letter, free bytes, file-system type, device, mount point, root path (the
// folder the test files go to) and label.

#include "platform/DriveTable.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace kel {

// freeBytes tells a root path's free bytes, nothing when it cannot be queried.
QString FormatDriveList(const DriveTable& drives, bool json,
                        const std::function<std::optional<std::uint64_t>(const std::string&)>& freeBytes);

}  // namespace kel
