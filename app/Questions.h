#pragma once
// The questions the dialog asks: yes or no, or a line of text. Each opens
// window-modal without a nested event loop and returns at once; the answer
// arrives through a callback. Tests install hooks that answer at once.

#include <QString>

#include <functional>
#include <optional>

class QWidget;

namespace kel {

// Yes or No; answered(true) for Yes.
void AskYesNo(QWidget* parent, const QString& text, std::function<void(bool yes)> answered);
using QuestionHook = std::function<bool(const QString& text)>;
// Replaces the boxes by the hook (an empty hook restores them); returns the previous hook.
QuestionHook SetQuestionHook(QuestionHook hook);

// A line of text, proposed as suggestion; entered runs only when the user
// confirms (OK), with the text as typed.
void AskText(QWidget* parent, const QString& label, const QString& suggestion,
             std::function<void(const QString& text)> entered);
// Returns the text typed, or nothing for Cancel.
using TextPromptHook = std::function<std::optional<QString>(const QString& label, const QString& suggestion)>;
TextPromptHook SetTextPromptHook(TextPromptHook hook);

}  // namespace kel
