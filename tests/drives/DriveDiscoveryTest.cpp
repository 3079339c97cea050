// Drive letters from mount tables given as text, and the system's own table.

#include "drives/DriveDiscovery.h"
#include "drives/MountInfo.h"
#include "platform/TimeLimit.h"
#include "platform/VolumeInfo.h"

#include <gtest/gtest.h>

#include <future>
#include <set>
#include <string>
#include <vector>

namespace kel {
namespace {

// A desktop: pseudo file systems, tmpfs in system folders and at /tmp, a snap
// image, a container layer, home on its own partition, a USB stick whose
// mount point holds a space, and a folder of /home bound elsewhere.
const char* const kDesktopTable =
    "22 1 0:21 / /proc rw,nosuid,nodev,noexec,relatime shared:12 - proc proc rw\n"
    "23 1 0:22 / /sys rw,nosuid shared:2 - sysfs sysfs rw\n"
    "24 1 0:5 / /dev rw,nosuid shared:8 - devtmpfs udev rw,size=8000000k\n"
    "25 24 0:23 / /dev/pts rw shared:9 - devpts devpts rw,gid=5\n"
    "26 1 0:24 / /run rw,nosuid shared:5 - tmpfs tmpfs rw,size=1600000k\n"
    "27 1 259:2 / / rw,relatime shared:1 - ext4 /dev/nvme0n1p2 rw,errors=remount-ro\n"
    "28 24 0:25 / /dev/shm rw shared:10 - tmpfs tmpfs rw\n"
    "29 23 0:26 / /sys/fs/cgroup rw shared:11 - cgroup2 cgroup2 rw\n"
    "30 23 0:27 / /sys/fs/pstore rw shared:13 - pstore pstore rw\n"
    "31 23 0:28 / /sys/fs/bpf rw shared:14 - bpf bpf rw,mode=700\n"
    "32 22 0:29 / /proc/sys/fs/binfmt_misc rw shared:15 - autofs systemd-1 rw,fd=29\n"
    "33 23 0:7 / /sys/kernel/security rw shared:16 - securityfs securityfs rw\n"
    "40 27 7:0 / /snap/core22/1122 ro,nodev,relatime shared:20 - squashfs /dev/loop0 ro\n"
    "41 27 259:1 / /boot/efi rw,relatime shared:21 - vfat /dev/nvme0n1p1 rw,fmask=0077\n"
    "42 27 259:3 / /home rw,relatime shared:22 - ext4 /dev/nvme0n1p3 rw\n"
    "43 27 0:30 / /tmp rw,nosuid,nodev shared:23 - tmpfs tmpfs rw\n"
    "44 26 0:31 / /run/user/1000 rw,nosuid shared:24 - tmpfs tmpfs rw,size=1600000k,mode=700,uid=1000\n"
    "45 27 8:17 / /mnt/usb\\040stick rw,nosuid shared:25 - vfat /dev/sdb1 rw\n"
    "46 27 0:32 / /var/lib/docker/overlay2/abc/merged rw shared:26 - overlay overlay rw,lowerdir=/x\n"
    "47 27 8:1 / /media/data ro,relatime shared:27 - ext4 /dev/sda1 rw\n"
    "48 27 259:3 /kel/shared /srv/share rw,relatime shared:22 - ext4 /dev/nvme0n1p3 rw\n"
    "49 26 0:33 / /run/snapd/ns rw - nsfs nsfs rw\n";

DriveSources Sources(const std::string& table, const std::string& home, std::set<std::string> writable = {})
{
    DriveSources sources;
    sources.mountTable = table;
    sources.homeDir = home;
    sources.isWritable = [writable](const std::string& path) { return writable.count(path) != 0; };
    sources.isFolder = [](const std::string&) { return true; };
    return sources;
}

std::vector<std::string> Summary(const std::vector<DriveEntry>& entries)
{
    std::vector<std::string> lines;
    for (const DriveEntry& entry : entries) {
        lines.push_back(std::string(1, entry.letter) + " " + entry.mountPoint + " -> " + entry.rootPath +
                        (entry.label.empty() ? "" : " [" + entry.label + "]"));
    }
    return lines;
}

// "/" plus count more ext4 mounts /mnt/d00, /mnt/d01, ...; home on "/".
std::string ManyDrivesTable(int count)
{
    std::string table = "1 0 8:0 / / rw - ext4 /dev/sda rw\n";
    for (int i = 0; i < count; ++i) {
        const std::string number = (i < 10 ? "0" : "") + std::to_string(i);
        table += std::to_string(i + 2) + " 1 9:" + std::to_string(i) + " / /mnt/d" + number +
                 " rw - ext4 /dev/md" + std::to_string(i) + " rw\n";
    }
    return table;
}

TEST(MountInfoParsing, ReadsFieldsOptionalTagsAndEscapes)
{
    const std::vector<MountRecord> records = ParseMountInfo(
        "36 35 98:0 /mnt1 /mnt/par\\134ent\\011x rw,noatime master:1 shared:4 - ext3 /dev/my\\040disk rw\n"
        "37 35 98:1 / /media/cd rw,relatime - iso9660 /dev/sr0 ro\n"
        "38 35 98:2 / /mnt/ro ro,relatime - ext4 /dev/sdc1 rw\n"
        "broken line without separator\n"
        "39 35 98:3 / /mnt/cut rw - ext4\n"
        "40 35 98:4 / /mnt/notrailingnewline rw - xfs /dev/sdd1 rw");
    ASSERT_EQ(records.size(), 4u);
    EXPECT_EQ(records[0].deviceNumber, "98:0");
    EXPECT_EQ(records[0].root, "/mnt1");
    EXPECT_EQ(records[0].mountPoint, "/mnt/par\\ent\tx");
    EXPECT_EQ(records[0].fileSystem, "ext3");
    EXPECT_EQ(records[0].source, "/dev/my disk");
    EXPECT_EQ(records[3].mountPoint, "/mnt/notrailingnewline");
}

TEST(MountInfoParsing, EscapesOnlyForWholeByteCodes)
{
    EXPECT_EQ(UnescapeMountField("a\\040b"), "a b");
    EXPECT_EQ(UnescapeMountField("a\\04"), "a\\04");
    EXPECT_EQ(UnescapeMountField("a\\777b"), "a\\777b");
    EXPECT_EQ(UnescapeMountField("tail\\"), "tail\\");
}

TEST(DriveDiscovery, DesktopTableKeepsRealFileSystemsWithHomeAsC)
{
    DriveSources sources = Sources(kDesktopTable, "/home/kel/", {"/tmp", "/mnt/usb stick"});
    sources.labelLinks = {
        {"DATA\\x20DISK", "/dev/sda1", "8:1"},  // matched by device number
        {"STICK", "/dev/sdb1", ""},             // matched by device path
        {"OTHER", "/dev/sdz9", "65:9"},
    };
    EXPECT_EQ(Summary(BuildDriveEntries(sources)), (std::vector<std::string>{
                                                       "C /home -> /home/kel",
                                                       "D / -> /",
                                                       "E /boot/efi -> /boot/efi",
                                                       "F /media/data -> /media/data [DATA DISK]",
                                                       "G /mnt/usb stick -> /mnt/usb stick [STICK]",
                                                       "H /tmp -> /tmp",
                                                   }));
}

TEST(DriveDiscovery, AFolderGetsTheFileSystemOfTheMountThatHoldsIt)
{
    DriveSources sources = Sources(kDesktopTable, "/home/kel");
    sources.labelLinks = {{"STICK", "/dev/sdb1", ""}};
    struct Case {
        const char* folder;
        const char* resolved;
        const char* described;  // mount point, type, device, label
    };
    const Case cases[] = {
        {"/mnt/usb stick/runs", "/mnt/usb stick/runs", "/mnt/usb stick|vfat|/dev/sdb1|STICK"},
        {"/home/kel/runs/", "/home/kel/runs/", "/home|ext4|/dev/nvme0n1p3|"},
        {"/home/kel/to-data", "/media/data/x", "/media/data|ext4|/dev/sda1|"},
        {"/srv/share", "/srv/share", "/srv/share|ext4|/dev/nvme0n1p3|"},
        {"/gone", "", "|||"},
        // Drive letters, where the system has them, in either case.
        {"d:\\Runs", "d:\\Runs", "D:\\|NTFS|\\\\.\\D:|DATA"},
        {"E:\\x", "E:\\x", "|||"},
    };
    DriveSources letters;
    letters.letterDrives = {{'D', "D:\\", "D:\\", "DATA", "NTFS", "\\\\.\\D:"}};
    for (const Case& c : cases) {
        const bool lettered = std::string(c.folder).find(':') != std::string::npos;
        const DriveEntry entry = FolderDriveEntry(lettered ? letters : sources, 'A', c.folder, c.resolved);
        EXPECT_EQ(entry.letter, 'A');
        EXPECT_EQ(entry.rootPath, c.folder);
        EXPECT_EQ(entry.mountPoint + "|" + entry.fileSystem + "|" + entry.device + "|" + entry.label, c.described)
            << c.folder;
    }
    const std::vector<DriveEntry> drives = BuildDriveEntries(sources);
    ASSERT_GE(drives.size(), 2u);
    EXPECT_EQ(drives[1].mountPoint + "|" + drives[1].fileSystem + "|" + drives[1].device, "/|ext4|/dev/nvme0n1p2");
}

TEST(DriveDiscovery, HomeLetterFollowsTheFileSystemNotTheFolderName)
{
    // Home on "/" itself: C is the root; a writable mount point is its own root path.
    EXPECT_EQ(Summary(BuildDriveEntries(Sources(kDesktopTable, "/homeless/kel", {"/"})))[0], "C / -> /");
    // No home folder known: no C, the letters still start at D.
    const std::vector<DriveEntry> noHome = BuildDriveEntries(Sources(kDesktopTable, ""));
    ASSERT_FALSE(noHome.empty());
    EXPECT_EQ(noHome.front().letter, 'D');
    EXPECT_EQ(noHome.front().mountPoint, "/");
}

TEST(DriveDiscovery, ContainerKeepsRootLayerAndOneBoundFolderPerDevice)
{
    const char* table =
        "500 400 0:50 / / rw,relatime - overlay overlay rw,lowerdir=/l,upperdir=/u\n"
        "501 500 0:51 / /proc rw - proc proc rw\n"
        "502 500 254:0 /docker/containers/1/hostname /etc/hostname rw - ext4 /dev/vda rw\n"
        "503 500 254:0 /docker/containers/1/hosts /etc/hosts rw - ext4 /dev/vda rw\n"
        "504 500 254:0 /volumes/a /data rw - ext4 /dev/vda rw\n"
        "505 500 254:0 /volumes/b /scratch rw - ext4 /dev/vda rw\n"
        "506 500 0:52 / /var/lib/inner/overlay/merged rw - overlay overlay rw\n";
    DriveSources sources = Sources(table, "/root");
    sources.isFolder = [](const std::string& path) { return path.rfind("/etc/", 0) != 0; };
    EXPECT_EQ(Summary(BuildDriveEntries(sources)),
              (std::vector<std::string>{"C / -> /root", "D /data -> /data"}));
}

TEST(DriveDiscovery, SubvolumesOfOneFileSystemMakeOneDrive)
{
    const char* table =
        "30 1 0:35 /@ / rw,relatime - btrfs /dev/sda2 rw,subvol=/@\n"
        "31 30 0:35 /@home /home rw,relatime - btrfs /dev/sda2 rw,subvol=/@home\n";
    EXPECT_EQ(Summary(BuildDriveEntries(Sources(table, "/home/kel"))),
              (std::vector<std::string>{"C / -> /home/kel"}));
}

TEST(DriveDiscovery, LaterMountOnTheSamePointCoversTheEarlier)
{
    const char* table =
        "1 0 8:0 / / rw - ext4 /dev/sda rw\n"
        "2 1 8:5 / /mnt/x rw - ext4 /dev/sdb5 rw\n"
        "3 1 8:6 / /mnt/x rw - ext4 /dev/sdb6 rw\n";
    DriveSources sources = Sources(table, "/root");
    sources.labelLinks = {{"OLD", "/dev/sdb5", "8:5"}, {"NEW", "/dev/sdb6", "8:6"}};
    EXPECT_EQ(Summary(BuildDriveEntries(sources)),
              (std::vector<std::string>{"C / -> /root", "D /mnt/x -> /mnt/x [NEW]"}));
}

TEST(DriveDiscovery, LettersRunOutAtZ)
{
    const std::vector<DriveEntry> eight = BuildDriveEntries(Sources(ManyDrivesTable(7), "/root"));
    ASSERT_EQ(eight.size(), 8u);
    EXPECT_EQ(eight.back().letter, 'J');

    const std::vector<DriveEntry> twenty = BuildDriveEntries(Sources(ManyDrivesTable(19), "/root"));
    ASSERT_EQ(twenty.size(), 20u);

    const std::vector<DriveEntry> many = BuildDriveEntries(Sources(ManyDrivesTable(29), "/root"));
    ASSERT_EQ(many.size(), 24u);
    EXPECT_EQ(many.front().letter, 'C');
    EXPECT_EQ(many.front().mountPoint, "/");
    EXPECT_EQ(many.back().letter, 'Z');
    EXPECT_EQ(many.back().mountPoint, "/mnt/d22");
}

TEST(DriveDiscovery, AMountThatDoesNotAnswerIsListedAsSuchAndAskedNothingMore)
{
    const char* table =
        "1 0 8:0 / / rw - ext4 /dev/sda rw\n"
        "2 1 0:50 / /mnt/stuck rw - fuse.sshfs host:/x rw\n"
        "3 1 8:5 / /mnt/x rw - ext4 /dev/sdb5 rw\n";
    std::set<std::string> asked;
    DriveSources sources = Sources(table, "/mnt/stuck/home");
    sources.isWritable = [&asked](const std::string& path) { return asked.insert(path).second || true; };
    sources.isFolder = [&asked](const std::string& path) { return asked.insert(path).second || true; };
    sources.answers = [](const std::string& path) { return path != "/mnt/stuck"; };
    const std::vector<DriveEntry> entries = BuildDriveEntries(sources);
    EXPECT_EQ(Summary(entries),
              (std::vector<std::string> {"C /mnt/stuck -> /mnt/stuck", "D / -> /", "E /mnt/x -> /mnt/x"}));
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(std::vector<bool>({entries[0].answering, entries[1].answering, entries[2].answering}),
              std::vector<bool>({false, true, true}));
    EXPECT_EQ(asked.count("/mnt/stuck"), 0u);
}

TEST(TimeLimits, AQueryThatDoesNotAnswerInTimeGivesNothingAndIsLeftToFinish)
{
    std::promise<void> release;
    std::shared_future<void> gate = release.get_future().share();
    auto finished = std::make_shared<std::promise<void>>();
    std::future<void> done = finished->get_future();
    const auto slow = AnswerWithin<int>(std::chrono::milliseconds(50), [gate, finished] {
        gate.wait();
        finished->set_value();
        return 1;
    });
    EXPECT_EQ(slow, std::nullopt);
    EXPECT_EQ(AnswerWithin<int>(std::chrono::seconds(60), [] { return 7; }), 7);
    release.set_value();
    EXPECT_EQ(done.wait_for(std::chrono::seconds(60)), std::future_status::ready) << "the query went on";
}

TEST(VolumeLabels, LinkNamesLoseTheirEscapes)
{
    EXPECT_EQ(UnescapeLinkName("DATA\\x20DISK"), "DATA DISK");
    EXPECT_EQ(UnescapeLinkName("a\\x2fb\\x5C"), "a/b\\");
    EXPECT_EQ(UnescapeLinkName("half\\x2"), "half\\x2");
    EXPECT_EQ(UnescapeLinkName("not\\xzzhex"), "not\\xzzhex");
}

TEST(SystemDrives, HomeDriveIsListedAndPseudoFileSystemsAreNot)
{
    DriveTable table;
    table.Register('A', "/left/over");
    FillDriveTable(table);
    EXPECT_EQ(table.Find('A'), nullptr) << "the table is filled anew";
    const DriveEntry* home = table.Find('C');
    ASSERT_NE(home, nullptr);
    EXPECT_TRUE(FreeBytesForUser(home->rootPath).has_value()) << home->rootPath;
    std::set<std::string> points;
    for (const DriveEntry& entry : table.Entries()) {
        EXPECT_TRUE(points.insert(entry.mountPoint).second) << entry.mountPoint;
        EXPECT_NE(entry.mountPoint.rfind("/proc", 0), 0u) << entry.mountPoint;
        EXPECT_NE(entry.mountPoint.rfind("/sys", 0), 0u) << entry.mountPoint;
    }
}

}  // namespace
}  // namespace kel
