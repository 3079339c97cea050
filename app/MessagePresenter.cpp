#include "app/MessagePresenter.h"

#include "app/DialogLayout.h"
#include "platform/MessageSink.h"

#include <QAbstractButton>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QScreen>
#include <QSpacerItem>

#include <algorithm>

namespace kel {

namespace {

MessageHook& Hook()
{
    static MessageHook hook;
    return hook;
}

QuestionHook& AskHook()
{
    static QuestionHook hook;
    return hook;
}

// The rectangle moved as little as it takes to lie inside area (its top
// left corner inside, when it is larger).
QRect KeptInside(QRect rect, const QRect& area)
{
    rect.moveRight(std::min(rect.right(), area.right()));
    rect.moveBottom(std::min(rect.bottom(), area.bottom()));
    rect.moveLeft(std::max(rect.left(), area.left()));
    rect.moveTop(std::max(rect.top(), area.top()));
    return rect;
}

// A box centred over its parent's window. It is placed once it has its
// final size, which it only gets as it is shown.
class CentredMessageBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

protected:
    void showEvent(QShowEvent* event) override
    {
        QMessageBox::showEvent(event);
        if (parentWidget() == nullptr) {
            return;
        }
        const QWidget* owner = parentWidget()->window();
        // The box's frame is not known before it is shown; the owner's frame
        // is the best guess for it.
        const QSize frameExtra = owner->frameGeometry().size() - owner->geometry().size();
        QRect placed(QPoint(), size() + frameExtra);
        placed.moveCenter(owner->frameGeometry().center());
        if (const QScreen* screen = owner->screen()) {
            placed = KeptInside(placed, screen->availableGeometry());
        }
        move(placed.topLeft());
    }
};

// Wide enough for the whole title beside the window's own buttons, in a
// title bar's bold font, which is wider than the box's text font.
int WidthForTitle(const QMessageBox& box)
{
    QFont titleFont = box.font();
    titleFont.setBold(true);
    constexpr int kTitleBarButtons = 100;
    return 2 * QFontMetrics(titleFont).horizontalAdvance(box.windowTitle()) + kTitleBarButtons;
}

// A box of the program's own look: centred, wide enough for its title, its
// buttons plain text (some desktop styles put an icon on every button).
CentredMessageBox* NewBox(QWidget* parent, QMessageBox::Icon icon, const QString& text,
                          QMessageBox::StandardButtons buttons)
{
    auto* box = new CentredMessageBox(icon, QString::fromLatin1(kDialogCaption), text, buttons, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    for (QAbstractButton* button : box->buttons()) {
        button->setIcon(QIcon());
    }
    // The box sizes itself to its layout, so the width goes in as a spacer.
    if (auto* grid = qobject_cast<QGridLayout*>(box->layout())) {
        grid->addItem(new QSpacerItem(WidthForTitle(*box), 0, QSizePolicy::Fixed, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
    return box;
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
    auto* box = NewBox(parent, icon, text, QMessageBox::Ok);
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

void AskQuestion(QWidget* parent, const QString& text, std::function<void(bool yes)> answered)
{
    if (AskHook()) {
        answered(AskHook()(text));
        return;
    }
    auto* box = NewBox(parent, QMessageBox::Question, text, QMessageBox::Yes | QMessageBox::No);
    box->setDefaultButton(QMessageBox::No);
    QObject::connect(box, &QMessageBox::finished, box,
                     [box, answered](int) { answered(box->clickedButton() == box->button(QMessageBox::Yes)); });
    box->open();
}

QuestionHook SetQuestionHook(QuestionHook hook)
{
    QuestionHook previous = std::move(AskHook());
    AskHook() = std::move(hook);
    return previous;
}

}  // namespace kel
