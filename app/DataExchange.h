#pragma once
// Reading a whole number from an edit's text and checking it against its
// accepted range, with the message the user sees when either fails.

#include <QString>

#include <optional>

namespace kel {

// The text as a whole number: optional blanks, an optional sign, decimal
// digits, optional blanks; nothing else, and within 32 bits.
std::optional<int> ParseWholeNumber(const QString& text);

struct FieldCheck {
    bool accepted = false;
    int value = 0;
    QString message;  // why the text was refused
};

FieldCheck CheckIntegerField(const QString& text, int minimum, int maximum);

}  // namespace kel
