// Help, the About box, the context menu with the graph's scale and Copy
// Results, and the keys that reach them.

#include "app/AboutDialog.h"
#include "app/GraphScaleSetting.h"
#include "app/HelpFile.h"
#include "app/MessagePresenter.h"
#include "app/PerfDialog.h"
#include "settings/SettingsLocation.h"

#include <QActionGroup>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>

namespace kel {

namespace {

// Command ids of the title-bar menu. The low four bits of a command id are
// the system's own; the About item is 16.
constexpr int kAboutCommand = 0x0010;
constexpr int kMinimizeCommand = 0xF020;
constexpr int kCloseCommand = 0xF060;

}  // namespace

void PerfDialog::CreateShortcuts()
{
    // The Help button's rule holds for F1 too: no help during a run.
    connect(new QShortcut(QKeySequence(Qt::Key_F1), this), &QShortcut::activated, this, [this] {
        if (m_helpButton->isEnabled()) {
            OnHelpButton();
        }
    });
    for (const QKeySequence& keys : {QKeySequence(Qt::SHIFT | Qt::Key_F10), QKeySequence(Qt::Key_Menu)}) {
        connect(new QShortcut(keys, this), &QShortcut::activated, this, [this] {
            const QWidget* anchor = focusWidget() != nullptr ? focusWidget() : &m_graph;
            PopUpContextMenu(anchor->mapToGlobal(anchor->rect().center()));
        });
    }
}

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
    if (m_aboutBox) {
        m_aboutBox->raise();
        m_aboutBox->activateWindow();
        return;
    }
    m_aboutBox = new AboutDialog(this);
    m_aboutBox->setAttribute(Qt::WA_DeleteOnClose);
    m_aboutBox->open();
}

QMenu* PerfDialog::CreateContextMenu(QWidget* menuParent)
{
    auto* menu = new QMenu(menuParent);

    struct ScaleItem {
        QString text;
        GraphScale scale;
    };
    std::vector<ScaleItem> scales {{QStringLiteral("Graph Scale 0 to &20 MB/s"), DefaultGraphScale()},
                                   {QStringLiteral("Graph Scale &Fitted to the Results"), FittedGraphScale()}};
    const GraphScale current = m_graph.Scale();
    if (!current.fit && current.fixedTop != kDefaultScaleTop) {
        // A top that only the settings file can set.
        scales.push_back({QStringLiteral("Graph Scale 0 to %1 MB/s").arg(current.fixedTop), current});
    }
    auto* scaleGroup = new QActionGroup(menu);
    for (const ScaleItem& item : scales) {
        QAction* action = menu->addAction(item.text);
        action->setCheckable(true);
        action->setChecked(item.scale == current);
        scaleGroup->addAction(action);
        connect(action, &QAction::triggered, this, [this, scale = item.scale] { OnGraphScale(scale); });
    }
    menu->addSeparator();
    QAction* copy = menu->addAction(QStringLiteral("Co&py Results"));
    copy->setEnabled(m_graph.HasResults() != 0);
    connect(copy, &QAction::triggered, this, &PerfDialog::OnCopyResults);
    menu->addSeparator();

    const auto addCommand = [this, menu](const QString& text, int commandId) {
        connect(menu->addAction(text), &QAction::triggered, this, [this, commandId] { OnSysCommand(commandId); });
    };
    addCommand(QStringLiteral("Mi&nimize"), kMinimizeCommand);
    addCommand(QStringLiteral("&Close"), kCloseCommand);
    menu->addSeparator();
    addCommand(QStringLiteral("&About Kel Tallyforge..."), kAboutCommand);
    return menu;
}

void PerfDialog::PopUpContextMenu(QPoint globalPos)
{
    QMenu* menu = CreateContextMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(globalPos);
}

void PerfDialog::contextMenuEvent(QContextMenuEvent* e)
{
    PopUpContextMenu(e->globalPos());
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

void PerfDialog::OnGraphScale(const GraphScale& scale)
{
    if (scale == m_graph.Scale()) {
        return;
    }
    m_graph.SetScale(scale);
    ProfileFile settings(SettingsFilePath());
    WriteGraphScaleSetting(settings, scale);
}

void PerfDialog::OnCopyResults()
{
    if (m_graph.HasResults() != 0) {
        QGuiApplication::clipboard()->setText(m_graph.ResultsText());
    }
}

}  // namespace kel
