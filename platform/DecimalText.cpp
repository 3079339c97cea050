#include "platform/DecimalText.h"

#include <array>
#include <charconv>

namespace kel {

namespace {

// Room for the largest double written out in full with the decimals asked for.
constexpr std::size_t kMaxDigits = 400;
constexpr int kMaxDecimals = 60;

std::string Padded(std::string text, int width)
{
    if (width > 0 && text.size() < static_cast<std::size_t>(width)) {
        text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
    }
    return text;
}

}  // namespace

std::string FixedText(double value, int decimals, int width)
{
    std::array<char, kMaxDigits> digits {};
    const int precision = decimals < 0 ? 0 : (decimals > kMaxDecimals ? kMaxDecimals : decimals);
    const auto [end, error] =
        std::to_chars(digits.data(), digits.data() + digits.size(), value, std::chars_format::fixed, precision);
    return Padded(error == std::errc() ? std::string(digits.data(), end) : std::string(), width);
}

std::string ShortestText(double value)
{
    std::array<char, kMaxDigits> digits {};
    const auto [end, error] = std::to_chars(digits.data(), digits.data() + digits.size(), value);
    return error == std::errc() ? std::string(digits.data(), end) : std::string();
}

}  // namespace kel
