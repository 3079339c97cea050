#pragma once
// Every message box of the dialog program goes through ShowMessage. The box
// is window-modal and opened without a nested event loop; the caller learns of
// its dismissal through a callback. Tests install a hook that takes the
// message instead of showing it.

#include <QPointer>
#include <QString>

#include <functional>

class QMessageBox;
class QWidget;

namespace kel {

// type: kPlainBox or kErrorBox (adds the stop icon).
using MessageHook = std::function<void(const QString& text, unsigned type)>;

// Shows the box and returns at once; dismissed runs once the user has closed
// it (at once when a hook took the message). The result is the open box, or
// null when a hook took it.
QPointer<QMessageBox> ShowMessage(QWidget* parent, const QString& text, unsigned type,
                                  std::function<void()> dismissed = {});

// Replaces the boxes by the hook (an empty hook restores them); returns the
// previous hook.
MessageHook SetMessageHook(MessageHook hook);

// A question with Yes and No, shown like the boxes above; answered runs with
// true for Yes once the user has chosen (at once when a hook answers).
using QuestionHook = std::function<bool(const QString& text)>;
void AskQuestion(QWidget* parent, const QString& text, std::function<void(bool yes)> answered);
QuestionHook SetQuestionHook(QuestionHook hook);

}  // namespace kel
