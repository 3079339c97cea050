#include "platform/InterfaceLink.h"
#include "tests/support/TempDir.h"

#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <gtest/gtest.h>

namespace kel {
namespace {

namespace fs = std::filesystem;

TEST(InterfaceLink, LinkTextsGiveTheRateAfterLineCoding)
{
    const struct {
        std::string speed;
        std::string width;  // empty: a SATA link
        const char* name;   // nullptr: not a link
        double bytesPerSecond;
    } cases[] = {
        {"8.0 GT/s PCIe", "4", "PCIe 8.0 GT/s x4", 8e9 * 128 / 130 / 8 * 4},
        {"2.5 GT/s", "1", "PCIe 2.5 GT/s x1", 250e6},
        {"16 GT/s PCIe", "2", "PCIe 16.0 GT/s x2", 16e9 * 128 / 130 / 8 * 2},
        {"Unknown", "4", nullptr, 0},
        {"8.0 GT/s PCIe", "x", nullptr, 0},
        {"6.0 Gbps", "", "SATA 6.0 Gbps", 600e6},
        {"1.5 Gbps", "", "SATA 1.5 Gbps", 150e6},
        {"<unknown>", "", nullptr, 0},
    };
    for (const auto& c : cases) {
        const auto link = c.width.empty() ? SataLink(c.speed) : PcieLink(c.speed, c.width);
        ASSERT_EQ(link.has_value(), c.name != nullptr) << c.speed;
        if (link) {
            EXPECT_EQ(link->name, c.name);
            EXPECT_DOUBLE_EQ(link->bytesPerSecond, c.bytesPerSecond) << c.speed;
        }
    }
}

void WriteFile(const fs::path& path, const std::string& text)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path) << text << "\n";
}

TEST(InterfaceLink, TheFoldersBlockDeviceIsFollowedToItsNvmeOrSataLinkOnly)
{
    const struct {
        const char* device;  // below devices/, the folder's block device
        const char* file;    // below devices/, the link's speed
        const char* text;
        const char* name;    // nullptr: not known
    } cases[] = {
        {"pci0000:00/0000:01:00.0/nvme/nvme0/nvme0n1/nvme0n1p2", "pci0000:00/0000:01:00.0/current_link_speed",
         "8.0 GT/s PCIe", "PCIe 8.0 GT/s x4"},
        {"pci0000:00/0000:00:17.0/ata3/host2/target2:0:0/2:0:0:0/block/sda/sda1",
         "pci0000:00/0000:00:17.0/ata3/link3/ata_link/link3/sata_spd", "6.0 Gbps", "SATA 6.0 Gbps"},
        // A USB drive behind a PCIe host controller: the controller's link is not the drive's.
        {"pci0000:00/0000:00:14.0/usb2/2-1/2-1:1.0/host4/target4:0:0/4:0:0:0/block/sdb",
         "pci0000:00/0000:00:14.0/current_link_speed", "8.0 GT/s PCIe", nullptr},
        {nullptr, nullptr, nullptr, nullptr},  // no block device at all
    };
    for (const auto& c : cases) {
        test::TempDir temp;
        const fs::path sys = fs::path(temp.Path()) / "sys";
        struct stat info {};
        ASSERT_EQ(::stat(temp.Path().c_str(), &info), 0);
        const fs::path number =
            sys / "dev" / "block" / (std::to_string(major(info.st_dev)) + ":" + std::to_string(minor(info.st_dev)));
        fs::create_directories(number.parent_path());
        if (c.device != nullptr) {
            fs::create_directories(sys / "devices" / c.device);
            fs::create_directory_symlink(fs::path("../..") / "devices" / c.device, number);
            WriteFile(sys / "devices" / c.file, c.text);
            WriteFile(sys / "devices" / fs::path(c.file).parent_path() / "current_link_width", "4");
        }
        const auto link = InterfaceLinkOf(temp.Path(), sys.string());
        ASSERT_EQ(link.has_value(), c.name != nullptr) << (c.device != nullptr ? c.device : "none");
        if (link) {
            EXPECT_EQ(link->name, c.name);
        }
    }
}

}  // namespace
}  // namespace kel
