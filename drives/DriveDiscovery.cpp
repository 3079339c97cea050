#include "drives/DriveDiscovery.h"

#include "drives/MountInfo.h"
#include "platform/TextRules.h"

#include <algorithm>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <string_view>

namespace kel {

namespace {

constexpr std::string_view kVirtualFileSystems[] = {
    "autofs",  "binfmt_misc", "bpf",     "cgroup",    "cgroup2",   "configfs", "debugfs",
    "devpts",  "devtmpfs",    "efivarfs", "fusectl",  "hugetlbfs", "mqueue",   "nfsd",
    "nsfs",    "proc",        "pstore",  "ramfs",     "rpc_pipefs", "securityfs", "selinuxfs",
    "squashfs", "sysfs",      "tracefs", "fuse.gvfsd-fuse", "fuse.lxcfs", "fuse.portal", "fuse.snapfuse",
};

constexpr std::string_view kSystemFolders[] = {"/run", "/dev", "/sys", "/proc"};

bool IsUnder(std::string_view path, std::string_view folder)
{
    if (folder == "/") {
        return !path.empty() && path[0] == '/';
    }
    return path.substr(0, folder.size()) == folder && (path.size() == folder.size() || path[folder.size()] == '/');
}

bool IsRealFileSystem(const MountRecord& mount)
{
    if (std::find(std::begin(kVirtualFileSystems), std::end(kVirtualFileSystems), mount.fileSystem) !=
        std::end(kVirtualFileSystems)) {
        return false;
    }
    if (mount.fileSystem == "overlay") {
        return mount.mountPoint == "/";
    }
    if (mount.fileSystem == "tmpfs") {
        return std::none_of(std::begin(kSystemFolders), std::end(kSystemFolders),
                            [&](std::string_view folder) { return IsUnder(mount.mountPoint, folder); });
    }
    return true;
}

// The mounts a path lookup sees, in mount-point order: a later mount on the
// same point covers an earlier one.
std::vector<MountRecord> VisibleMounts(std::vector<MountRecord> records)
{
    std::map<std::string, MountRecord> byPoint;
    for (MountRecord& record : records) {
        byPoint[record.mountPoint] = std::move(record);
    }
    std::vector<MountRecord> visible;
    for (auto& [point, record] : byPoint) {
        visible.push_back(std::move(record));
    }
    return visible;
}

// The mount that holds path: the one whose mount point is its longest prefix.
const MountRecord* MountHolding(const std::vector<MountRecord>& mounts, std::string_view path)
{
    const MountRecord* best = nullptr;
    for (const MountRecord& mount : mounts) {
        if (IsUnder(path, mount.mountPoint) && (best == nullptr || mount.mountPoint.size() > best->mountPoint.size())) {
            best = &mount;
        }
    }
    return best;
}

std::vector<const MountRecord*> SelectDrives(const std::vector<MountRecord>& visible, const DriveSources& sources,
                                            std::set<const MountRecord*>& silent)
{
    std::vector<const MountRecord*> real;
    std::set<std::string> wholeDevices;
    for (const MountRecord& mount : visible) {
        if (!IsRealFileSystem(mount)) {
            continue;
        }
        if (sources.answers && !sources.answers(mount.mountPoint)) {
            silent.insert(&mount);
        }
        if (silent.count(&mount) != 0 || !sources.isFolder || sources.isFolder(mount.mountPoint)) {
            real.push_back(&mount);
            if (mount.root == "/") {
                wholeDevices.insert(mount.deviceNumber);
            }
        }
    }
    std::vector<const MountRecord*> chosen;
    std::set<std::string> partDevices;
    for (const MountRecord* mount : real) {
        const bool part = mount->root != "/";
        if (part && (wholeDevices.count(mount->deviceNumber) != 0 || !partDevices.insert(mount->deviceNumber).second)) {
            continue;
        }
        chosen.push_back(mount);
    }
    return chosen;
}

// What the entry tells of the file system mounted there.
void DescribeMount(DriveEntry& entry, const MountRecord& mount, const std::vector<LabelLink>& labelLinks)
{
    entry.mountPoint = mount.mountPoint;
    entry.label = LabelOfMount(labelLinks, mount);
    entry.fileSystem = mount.fileSystem;
    entry.device = mount.source;
}

std::string WithoutTrailingSlashes(std::string path)
{
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    return path;
}

}  // namespace

std::vector<DriveEntry> BuildDriveEntries(const DriveSources& sources)
{
    const std::vector<MountRecord> visible = VisibleMounts(ParseMountInfo(sources.mountTable));
    std::set<const MountRecord*> silent;  // mounts that did not answer
    const std::vector<const MountRecord*> chosen = SelectDrives(visible, sources, silent);
    const std::string home = WithoutTrailingSlashes(sources.homeDir);

    // Home's file system: the device of the mount holding it, shown by that
    // mount when it is listed, else by another listed mount of that device.
    const MountRecord* homeMount = home.empty() ? nullptr : MountHolding(visible, home);
    const std::string homeDevice = homeMount != nullptr ? homeMount->deviceNumber : std::string();
    const MountRecord* driveC = nullptr;
    if (homeMount != nullptr) {
        for (const MountRecord* mount : chosen) {
            if (mount == homeMount) {
                driveC = mount;
                break;
            }
            if (driveC == nullptr && mount->deviceNumber == homeDevice) {
                driveC = mount;
            }
        }
    }

    std::vector<DriveEntry> entries;
    auto add = [&](const MountRecord& mount, char letter) {
        DriveEntry entry;
        entry.letter = letter;
        DescribeMount(entry, mount, sources.labelLinks);
        entry.answering = silent.count(&mount) == 0;
        const bool writable = entry.answering && sources.isWritable && sources.isWritable(mount.mountPoint);
        const bool holdsHome = !home.empty() && mount.deviceNumber == homeDevice;
        entry.rootPath = (entry.answering && !writable && holdsHome) ? home : mount.mountPoint;
        entries.push_back(std::move(entry));
    };
    if (driveC != nullptr) {
        add(*driveC, 'C');
    }
    char next = 'D';
    for (const MountRecord* mount : chosen) {
        if (mount != driveC && next <= 'Z') {
            add(*mount, next++);
        }
    }
    return entries;
}

DriveEntry FolderDriveEntry(const DriveSources& sources, char letter, const std::string& folder,
                            const std::string& resolvedFolder)
{
    DriveEntry entry;
    entry.letter = letter;
    entry.rootPath = folder;
    const std::vector<MountRecord> visible = VisibleMounts(ParseMountInfo(sources.mountTable));
    if (const MountRecord* mount = MountHolding(visible, WithoutTrailingSlashes(resolvedFolder))) {
        DescribeMount(entry, *mount, sources.labelLinks);
    }
    for (const DriveEntry& drive : sources.letterDrives) {
        const std::string& root = drive.rootPath;
        const bool holds = !root.empty() && resolvedFolder.size() >= root.size() &&
                           std::equal(root.begin(), root.end(), resolvedFolder.begin(),
                                      [](char a, char b) { return AsciiUpper(a) == AsciiUpper(b); });
        if (holds) {
            entry.mountPoint = drive.mountPoint;
            entry.label = drive.label;
            entry.fileSystem = drive.fileSystem;
            entry.device = drive.device;
        }
    }
    return entry;
}

DriveSources SystemDriveSources()
{
    DriveSources sources;
    sources.mountTable = ReadMountTable();
    sources.homeDir = HomeDirectory();
    sources.labelLinks = ListLabelLinks();
    sources.isWritable = IsWritableFolder;
    sources.isFolder = IsFolder;
    sources.answers = Answers;
    sources.letterDrives = SystemLetterDrives().value_or(std::vector<DriveEntry> {});
    return sources;
}

void FillDriveTable(DriveTable& table)
{
    std::optional<std::vector<DriveEntry>> entries = SystemLetterDrives();
    if (!entries) {
        entries = BuildDriveEntries(SystemDriveSources());
    }
    table.Clear();
    for (DriveEntry& entry : *entries) {
        table.Register(std::move(entry));
    }
}

namespace {

constexpr std::size_t kMaxTextBytes = kDriveItemTextChars - 1;
constexpr std::string_view kLabelGap = "  ";

}  // namespace

std::string LabelForList(std::string_view label)
{
    std::string out(label);
    for (char& c : out) {
        c = AsciiLower(c);
    }
    if (!out.empty()) {
        out[0] = AsciiUpper(out[0]);
    }
    return out;
}

std::string DriveItemText(const DriveEntry& entry)
{
    const std::string head = std::string("[") + entry.letter + "]  ";
    const std::string place = "(" + entry.mountPoint + ")";
    const std::string label = LabelForList(entry.label);

    std::string text = head;
    const std::size_t fixed = head.size() + kLabelGap.size() + place.size();
    if (!label.empty() && fixed < kMaxTextBytes) {
        const std::string_view kept = CutUtf8(label, kMaxTextBytes - fixed);
        if (!kept.empty()) {
            text.append(kept);
            text.append(kLabelGap);
        }
    }
    text.append(place);
    return std::string(CutUtf8(text, kMaxTextBytes));
}

}  // namespace kel
