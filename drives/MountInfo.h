#pragma once
// The kernel's per-process mount table (mountinfo form), read into records.
// Pure text processing, so any table can be examined.

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

}  // namespace kel
