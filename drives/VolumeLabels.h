#pragma once
// File-system labels as the system's by-label links give them.

#include "drives/MountInfo.h"
#include "platform/VolumeInfo.h"

#include <string>
#include <string_view>
#include <vector>

namespace kel {

// Undoes the "\xHH" escapes that link names carry for spaces, slashes and
// other bytes a file name cannot hold as they are.
std::string UnescapeLinkName(std::string_view name);

// The label of the mounted file system: the link that leads to the mount's
// device (by device number, or by the device path the table names as the
// source). Empty when no link does.
std::string LabelOfMount(const std::vector<LabelLink>& links, const MountRecord& mount);

}  // namespace kel
