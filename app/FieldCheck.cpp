#include "app/FieldCheck.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace kel {

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool DigitsOnly(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

std::optional<int> ParseWholeNumber(std::string_view text)
{
    text = Trimmed(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return std::nullopt;
    }
    std::int64_t magnitude = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > std::int64_t {std::numeric_limits<int>::max()} + 1) {
            return std::nullopt;
        }
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<int>::max()) {
        return std::nullopt;
    }
    return static_cast<int>(value);
}

FieldCheck CheckIntegerField(std::string_view text, int minimum, int maximum)
{
    FieldCheck check;
    const std::optional<int> value = ParseWholeNumber(text);
    if (!value) {
        check.message = "Please enter an integer.";
        return check;
    }
    if (*value < minimum || *value > maximum) {
        check.message = "Please enter an integer between " + std::to_string(minimum) + " and " +
                        std::to_string(maximum) + ".";
        return check;
    }
    check.accepted = true;
    check.value = *value;
    return check;
}

FieldCheck CheckRateEntry(std::string_view text, int maximumMBs)
{
    FieldCheck check;
    text = Trimmed(text);
    const std::size_t point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    const std::string_view decimals = point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
    const std::optional<int> mbs = whole.empty() ? std::optional<int>(0) : ParseWholeNumber(whole);
    if (!text.empty() && (!mbs || !DigitsOnly(whole) || !DigitsOnly(decimals) || decimals.size() > 3 ||
                          (whole.empty() && decimals.empty()))) {
        check.message = "Please enter a rate in MB/s with at most three decimals.";
        return check;
    }
    int fraction = 0;  // the three decimals, padded with zeros
    for (std::size_t i = 0; i < 3; ++i) {
        fraction = fraction * 10 + (i < decimals.size() ? decimals[i] - '0' : 0);
    }
    const std::int64_t thousandths = std::int64_t {mbs.value_or(0)} * 1000 + fraction;
    if (thousandths > std::int64_t {maximumMBs} * 1000) {
        check.message = "Please enter a rate between 0 and " + std::to_string(maximumMBs) + " MB/s.";
        return check;
    }
    check.accepted = true;
    check.value = static_cast<int>(thousandths);
    return check;
}

std::string RateEntryText(int thousandths)
{
    if (thousandths <= 0) {
        return {};
    }
    std::string text = std::to_string(thousandths / 1000);
    if (const int rest = thousandths % 1000; rest != 0) {
        std::string decimals = std::to_string(1000 + rest).substr(1);
        while (decimals.back() == '0') {
            decimals.pop_back();
        }
        text += '.' + decimals;
    }
    return text;
}

}  // namespace kel
