#pragma once
// What the drive list and the drive check ask of the system about mounted
// file systems: the mount table, the label links, free space, whether a folder
// may be written, and the probe file that proves it.

#include "platform/DriveTable.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kel {

// One entry of the system's by-label folder: the link's name as the system
// stores it (with its escapes), the device it leads to, and that device's
// number as "major:minor" (empty when the device cannot be examined).
struct LabelLink {
    std::string name;
    std::string devicePath;
    std::string deviceNumber;
};

// The drives by letter where the system has drive letters (Windows): each
// present drive with its root path ("X:\") as root path and mount point, its
// label and file-system type; nothing on a system without drive letters,
// whose list is made from the mount table.
std::optional<std::vector<DriveEntry>> SystemLetterDrives();

// The mount table of this process in the kernel's mountinfo form; empty when
// it cannot be read.
std::string ReadMountTable();

// The file-system label links; none when the system keeps no such folder.
std::vector<LabelLink> ListLabelLinks();

// The user's home folder: $HOME, else the account's entry; empty when neither says.
std::string HomeDirectory();

// The queries of a mounted file system below give up after kMountAnswerTime
// (TimeLimit.h): one that does not answer (a stalled network or FUSE mount)
// gives the answer for a failure.

// Whether the current user may create files in the folder.
bool IsWritableFolder(const std::string& path);

// Whether path names a folder (following links).
bool IsFolder(const std::string& path);

// Whether the file system that holds path answers a query at all, in time.
bool Answers(const std::string& path);

// Bytes this user may still fill on the file system that holds path, or
// nothing when the file system cannot be queried or does not answer.
std::optional<std::uint64_t> FreeBytesForUser(const std::string& path);

// What became of the drive check's probe file.
struct ProbeResult {
    int error = 0;      // 0 when it was made and deleted, else the system's code
    bool left = false;  // made, but its deletion failed (error tells why)
};

// Creates the file name in the folder at folderPath for reading and writing,
// holds it exclusively, then closes and deletes it, with the stop signals
// held meanwhile so that none can end the process between the two. A file of
// that name left over from an earlier attempt is replaced; a name that holds
// anything but a file of the program's own is left alone (ForeignNames.h).
ProbeResult CreateAndDeleteProbe(const std::string& folderPath, const char* name);

// The bytes on the device that the names in the folder hold where each is a
// file of the program's own (a run empties and replaces those); 0 for the
// others and for a folder that cannot be opened.
std::uint64_t OwnFileBytes(const std::string& folderPath, const std::vector<std::string>& names);

}  // namespace kel
