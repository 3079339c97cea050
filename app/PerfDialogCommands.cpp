// Help, the About box and the title-bar menu's commands.

#include "app/AboutDialog.h"
#include "app/DialogLayout.h"
#include "app/HelpFile.h"
#include "app/MessagePresenter.h"
#include "app/PerfDialog.h"

#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QMenu>

namespace kel {

namespace {
// Command ids of the title-bar menu. The low four bits of a command id are
// the system's own; the About item is 16.
constexpr int kAboutCommand = 0x0010;
constexpr int kMinimizeCommand = 0xF020;
constexpr int kCloseCommand = 0xF060;
}  // namespace

void PerfDialog::OnHelpButton()
{
    const QString path = HelpFilePath();
    const std::function<bool(const QUrl&)> open = m_openUrl ? m_openUrl : &QDesktopServices::openUrl;
    if (path.isEmpty() || !open(QUrl::fromLocalFile(path))) {
        const QString shown = path.isEmpty() ? HelpFileName() : path;
        ShowMessage(this, QStringLiteral("Unable to open the help file \"%1\".").arg(shown), kPlainBox);
    }
}

void PerfDialog::OnAbout()
{
    if (m_about) {
        m_about->raise();
        m_about->activateWindow();
        return;
    }
    m_about = new AboutDialog(this);
    m_about->setAttribute(Qt::WA_DeleteOnClose);
    m_about->open();
}

QMenu* PerfDialog::CreateSystemMenu(QWidget* menuParent)
{
    auto* menu = new QMenu(menuParent);
    const auto addCommand = [this, menu](const QString& text, int commandId) {
        connect(menu->addAction(text), &QAction::triggered, this, [this, commandId] { OnSysCommand(commandId); });
    };
    addCommand(QStringLiteral("Mi&nimize"), kMinimizeCommand);
    addCommand(QStringLiteral("&Close"), kCloseCommand);
    menu->addSeparator();
    addCommand(QStringLiteral("&About Kel Tallyforge..."), kAboutCommand);
    return menu;
}

void PerfDialog::contextMenuEvent(QContextMenuEvent* e)
{
    QMenu* menu = CreateSystemMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(e->globalPos());
}

void PerfDialog::OnSysCommand(int commandId)
{
    if ((commandId & 0xFFF0) == kAboutCommand) {
        OnAbout();
        return;
    }
    switch (commandId & 0xFFF0) {
    case kMinimizeCommand:
        showMinimized();
        break;
    case kCloseCommand:
        close();
        break;
    default:
        break;
    }
}

}  // namespace kel
