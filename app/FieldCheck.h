#pragma once
// Reading a whole number from an edit's text and checking it against its
// accepted range, with the message the user sees when either fails. Plain
// C++, shared by the dialog of every toolkit.

#include <optional>
#include <string>
#include <string_view>

namespace kel {

// The text as a whole number: optional blanks, an optional sign, decimal
// digits, optional blanks; nothing else, and within 32 bits.
std::optional<int> ParseWholeNumber(std::string_view text);

struct FieldCheck {
    bool accepted = false;
    int value = 0;
    std::string message;  // why the text was refused
};

FieldCheck CheckIntegerField(std::string_view text, int minimum, int maximum);

// The largest minimum rate the parameter panel takes: 1 TB/s.
constexpr int kMaxRateFieldMBs = 1000000;

// A minimum rate in MB/s as the user enters it: a decimal number with at most
// three decimals from 0 to maximumMBs, blanks around it allowed; empty text
// means none (0). The value is in thousandths of an MB/s, the unit the
// presets keep.
FieldCheck CheckRateEntry(std::string_view text, int maximumMBs);

// Thousandths of an MB/s as such a field shows them: "5.722", "30", and an
// empty text for none (0 or less).
std::string RateEntryText(int thousandths);

}  // namespace kel
