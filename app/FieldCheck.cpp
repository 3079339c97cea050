#include "app/FieldCheck.h"

#include <cstdint>
#include <limits>

namespace kel {

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

}  // namespace

std::optional<int> ParseWholeNumber(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
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

}  // namespace kel
