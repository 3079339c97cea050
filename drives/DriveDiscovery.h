#pragma once
// Drive letters for the mounted file systems a user may want to test, and the
// text each one shows in the drive list.
//
// Kept: real file systems. Left out: pseudo and virtual file systems (proc,
// sysfs, cgroup and the like, ramfs), tmpfs at or under /run, /dev, /sys and
// /proc (tmpfs elsewhere, such as /tmp, stays), squashfs images, overlay
// layers other than the root, and mount points that are not folders (files
// bound into a container). A folder of a file system bound somewhere else is
// left out when all of that file system is mounted too; otherwise one such
// mount stands for it. Read-only mounts stay, so the drive check refuses them.
//
// C is the file system that holds the home folder; the others take D, E, ...
// in mount-point order, as far as Z. Each entry's root path is its mount point
// when the user may write there, else the home folder when it lies on that
// file system, else the mount point. A mount whose file system does not
// answer (a stalled network or FUSE mount) is listed all the same, marked as
// not answering, with its mount point as its root path; nothing else is
// asked of it, so that making the list never hangs.

#include "platform/DriveTable.h"
#include "platform/VolumeInfo.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kel {

struct DriveSources {
    std::string mountTable;  // mountinfo text
    std::string homeDir;
    std::vector<LabelLink> labelLinks;
    std::function<bool(const std::string&)> isWritable;
    std::function<bool(const std::string&)> isFolder;
    // Whether the file system mounted there answers in time; every mount
    // answers when this is empty.
    std::function<bool(const std::string&)> answers;
    // The drives by letter where the system has them (Windows), which then
    // describe a folder instead of the mount table.
    std::vector<DriveEntry> letterDrives;
};

// The entries in letter order.
std::vector<DriveEntry> BuildDriveEntries(const DriveSources& sources);

// The entry of a folder the user names instead of a letter: rootPath is the
// folder as given; the mount point, label, type and device are those of the
// mount that holds resolvedFolder (the folder with its links resolved), or of
// the letter drive whose root starts it (in either case), and empty when none
// does (a folder that does not exist).
DriveEntry FolderDriveEntry(const DriveSources& sources, char letter, const std::string& folder,
                            const std::string& resolvedFolder);

// This system's mounts, labels and home folder.
DriveSources SystemDriveSources();

// Empties the table and fills it from this system's mounts.
void FillDriveTable(DriveTable& table);

// The text of one drive-list item: the letter in brackets, two spaces, the
// label, and the mount point in parentheses so that entries can be told apart:
//   "[D]  Data disk  (/mnt/data)"
//   "[C]  (/)"                       (no label)
// The text fits the list's 128-character item buffer (terminator included);
// a label too long for it is cut at a character boundary.
constexpr std::size_t kDriveItemTextChars = 128;

// Lower case, then the first character upper case; only ASCII letters change.
std::string LabelForList(std::string_view label);

std::string DriveItemText(const DriveEntry& entry);

}  // namespace kel
