#pragma once
// The line of text the dialog asks for (yes-or-no questions are in
// MessagePresenter.h). It opens window-modal without a nested event loop and
// returns at once; the answer arrives through a callback. Tests install a
// hook that answers at once.

#include <QString>

#include <functional>
#include <optional>

class QWidget;

namespace kel {

// A line of text, proposed as suggestion; entered runs only when the user
// confirms (OK), with the text as typed.
void AskText(QWidget* parent, const QString& label, const QString& suggestion,
             std::function<void(const QString& text)> entered);
// Returns the text typed, or nothing for Cancel.
using TextPromptHook = std::function<std::optional<QString>(const QString& label, const QString& suggestion)>;
TextPromptHook SetTextPromptHook(TextPromptHook hook);

}  // namespace kel
