#include "app/MessagePresenter.h"

#include "app/DialogLayout.h"
#include "platform/MessageSink.h"

#include <QMessageBox>

namespace kel {

namespace {
MessageHook& Hook()
{
    static MessageHook hook;
    return hook;
}
}  // namespace

QPointer<QMessageBox> ShowMessage(QWidget* parent, const QString& text, unsigned type,
                                  std::function<void()> dismissed)
{
    if (Hook()) {
        Hook()(text, type);
        if (dismissed) {
            dismissed();
        }
        return nullptr;
    }
    const QMessageBox::Icon icon = (type & kErrorBox) != 0 ? QMessageBox::Critical : QMessageBox::NoIcon;
    auto* box = new QMessageBox(icon, QString::fromLatin1(kDialogCaption), text, QMessageBox::Ok, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    if (dismissed) {
        QObject::connect(box, &QMessageBox::finished, box, [dismissed](int) { dismissed(); });
    }
    box->open();
    return box;
}

MessageHook SetMessageHook(MessageHook hook)
{
    MessageHook previous = std::move(Hook());
    Hook() = std::move(hook);
    return previous;
}

}  // namespace kel
