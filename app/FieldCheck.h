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

}  // namespace kel
