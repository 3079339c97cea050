#include "platform/InterfaceLink.h"

#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace kel {

namespace {

namespace fs = std::filesystem;

std::string FirstLine(const fs::path& path)
{
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    return line;
}

bool IsAtaPort(const std::string& name)
{
    return name.size() > 3 && name.compare(0, 3, "ata") == 0 &&
           name.find_first_not_of("0123456789", 3) == std::string::npos;
}

// The speed of the first link of a SATA port folder (ataN/linkN/ata_link/linkN/sata_spd).
std::optional<InterfaceLink> SataPortLink(const fs::path& port)
{
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(port, error)) {
        const std::string name = entry.path().filename().string();
        if (name.compare(0, 4, "link") == 0) {
            return SataLink(FirstLine(entry.path() / "ata_link" / name / "sata_spd"));
        }
    }
    return std::nullopt;
}

}  // namespace

// The block device's folder in the device tree is walked up: below an NVMe
// controller ("nvme" under its PCI function) the function's PCIe link counts,
// below a SATA port (ataN) the port's link. Other paths (USB, virtual and
// memory devices) tell nothing about the drive's own interface.
std::optional<InterfaceLink> InterfaceLinkOf(const std::string& folder, const std::string& sysfsRoot)
{
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0) {
        return std::nullopt;
    }
    const std::string number = std::to_string(major(info.st_dev)) + ":" + std::to_string(minor(info.st_dev));
    std::error_code error;
    const fs::path device = fs::canonical(fs::path(sysfsRoot) / "dev" / "block" / number, error);
    if (error) {
        return std::nullopt;
    }
    for (fs::path at = device; at != at.parent_path(); at = at.parent_path()) {
        const std::string name = at.filename().string();
        if (name == "nvme") {
            const fs::path function = at.parent_path();
            return PcieLink(FirstLine(function / "current_link_speed"), FirstLine(function / "current_link_width"));
        }
        if (IsAtaPort(name)) {
            return SataPortLink(at);
        }
    }
    return std::nullopt;
}

}  // namespace kel
