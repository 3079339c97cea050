#include "platform/InterfaceLink.h"

#include "platform/DecimalText.h"

#include <charconv>

namespace kel {

namespace {

// The positive number a text starts with (after blanks), written the same in
// every locale; rest is what follows it.
std::optional<double> LeadingNumber(const std::string& text, std::string& rest)
{
    std::size_t start = text.find_first_not_of(" \t");
    start = start == std::string::npos ? text.size() : start;
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data() + start, text.data() + text.size(), value);
    if (error != std::errc() || !(value > 0.0)) {
        return std::nullopt;
    }
    rest.assign(end, text.data() + text.size());
    return value;
}

}  // namespace

std::optional<InterfaceLink> PcieLink(const std::string& speedText, const std::string& widthText)
{
    std::string unit;
    std::string widthRest;
    const auto transfers = LeadingNumber(speedText, unit);
    const auto lanes = LeadingNumber(widthText, widthRest);
    if (!transfers || !lanes || unit.find("GT/s") == std::string::npos) {
        return std::nullopt;
    }
    // 8b/10b up to 5 GT/s, 128b/130b from 8 GT/s, flits of 242 of 256 bytes from 64 GT/s.
    const double coding = *transfers <= 5.0 ? 0.8 : *transfers < 64.0 ? 128.0 / 130.0 : 242.0 / 256.0;
    const int width = static_cast<int>(*lanes);
    return InterfaceLink {"PCIe " + FixedText(*transfers, 1) + " GT/s x" + std::to_string(width),
                          *transfers * 1e9 * coding / 8.0 * width};
}

std::optional<InterfaceLink> SataLink(const std::string& speedText)
{
    std::string unit;
    const auto bits = LeadingNumber(speedText, unit);
    if (!bits || unit.find("Gbps") == std::string::npos) {
        return std::nullopt;
    }
    // 8b/10b line coding: ten bits on the wire per byte.
    return InterfaceLink {"SATA " + FixedText(*bits, 1) + " Gbps", *bits * 1e9 / 10.0};
}

}  // namespace kel
