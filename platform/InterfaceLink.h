#pragma once
// The link between the computer and the drive that holds a folder, where the
// system tells it: a PCIe link (NVMe) or a SATA link. Its rate is the most
// the interface can carry after line coding; the drive cannot be faster.

#include <optional>
#include <string>

namespace kel {

struct InterfaceLink {
    std::string name;           // e.g. "PCIe 8.0 GT/s x4", "SATA 6.0 Gbps"
    double bytesPerSecond = 0;  // after line coding
};

// A PCIe link from its speed ("8.0 GT/s PCIe", "8 GT/s") and lane count
// ("4") as the system writes them; nothing when either does not read.
std::optional<InterfaceLink> PcieLink(const std::string& speedText, const std::string& widthText);

// A SATA link from its speed ("6.0 Gbps"); nothing for "<unknown>" and the like.
std::optional<InterfaceLink> SataLink(const std::string& speedText);

// The link of the block device that holds folder, from the device tree of
// the system (sysfsRoot, normally "/sys"); nothing where it is not known
// (no block device, a network or memory file system, a system that does
// not tell).
std::optional<InterfaceLink> InterfaceLinkOf(const std::string& folder, const std::string& sysfsRoot = "/sys");

}  // namespace kel
