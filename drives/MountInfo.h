#pragma once
// The kernel's per-process mount table (mountinfo form), read into records,
// and the file-system labels the system's by-label links give the mounts.
// Pure text processing, so any table can be examined.

#include "platform/VolumeInfo.h"

#include <string>
#include <string_view>
#include <vector>

namespace kel {

struct MountRecord {
    std::string deviceNumber;  // "major:minor" of the mounted file system
    std::string root;          // folder of that file system seen at the mount point ("/" for all of it)
    std::string mountPoint;
    std::string fileSystem;    // type, e.g. "ext4", "tmpfs"
    std::string source;        // e.g. "/dev/sda1"
};

// One record per well-formed line, in table order; malformed lines are skipped.
std::vector<MountRecord> ParseMountInfo(std::string_view text);

// Undoes the table's octal escapes ("\040" for a space, "\134" for a backslash).
std::string UnescapeMountField(std::string_view field);

// Undoes the "\xHH" escapes that link names carry for spaces, slashes and
// other bytes a file name cannot hold as they are.
std::string UnescapeLinkName(std::string_view name);

// The label of the mounted file system: the link that leads to the mount's
// device (by device number, or by the device path the table names as the
// source). Empty when no link does.
std::string LabelOfMount(const std::vector<LabelLink>& links, const MountRecord& mount);

}  // namespace kel
