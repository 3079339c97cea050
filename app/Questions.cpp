#include "app/Questions.h"

#include "app/DialogLayout.h"

#include <QInputDialog>
#include <QMessageBox>

#include <utility>

namespace kel {

namespace {

QuestionHook& QuestionHookSlot()
{
    static QuestionHook hook;
    return hook;
}

TextPromptHook& TextPromptHookSlot()
{
    static TextPromptHook hook;
    return hook;
}

}  // namespace

void AskYesNo(QWidget* parent, const QString& text, std::function<void(bool yes)> answered)
{
    if (QuestionHookSlot()) {
        answered(QuestionHookSlot()(text));
        return;
    }
    auto* box = new QMessageBox(QMessageBox::Question, QString::fromLatin1(kDialogCaption), text,
                                QMessageBox::Yes | QMessageBox::No, parent);
    box->setDefaultButton(QMessageBox::No);
    box->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(box, &QMessageBox::finished, box,
                     [answered = std::move(answered)](int result) { answered(result == QMessageBox::Yes); });
    box->open();
}

QuestionHook SetQuestionHook(QuestionHook hook)
{
    return std::exchange(QuestionHookSlot(), std::move(hook));
}

void AskText(QWidget* parent, const QString& label, const QString& suggestion,
             std::function<void(const QString& text)> entered)
{
    if (TextPromptHookSlot()) {
        if (const std::optional<QString> text = TextPromptHookSlot()(label, suggestion)) {
            entered(*text);
        }
        return;
    }
    auto* prompt = new QInputDialog(parent);
    prompt->setWindowTitle(QString::fromLatin1(kDialogCaption));
    prompt->setLabelText(label);
    prompt->setTextValue(suggestion);
    prompt->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(prompt, &QInputDialog::textValueSelected, prompt, std::move(entered));
    prompt->open();
}

TextPromptHook SetTextPromptHook(TextPromptHook hook)
{
    return std::exchange(TextPromptHookSlot(), std::move(hook));
}

}  // namespace kel
