#include "app/Questions.h"

#include "app/DialogLayout.h"

#include <QInputDialog>

#include <utility>

namespace kel {

namespace {

TextPromptHook& TextPromptHookSlot()
{
    static TextPromptHook hook;
    return hook;
}

}  // namespace

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
