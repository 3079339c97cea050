#include "app/ContextMenu.h"

#include "app/GraphScaleChoices.h"

#include <QActionGroup>
#include <QMenu>

namespace kel {

QMenu* BuildContextMenu(QWidget* parent, const ContextMenuActions& actions)
{
    auto* menu = new QMenu(parent);

    auto* scaleGroup = new QActionGroup(menu);
    for (const GraphScaleChoice& item : GraphScaleChoices(actions.currentScale)) {
        QAction* action = menu->addAction(QString::fromStdString(item.text));
        action->setCheckable(true);
        action->setChecked(item.scale == actions.currentScale);
        scaleGroup->addAction(action);
        QObject::connect(action, &QAction::triggered, menu,
                         [onScale = actions.onScale, scale = item.scale] { onScale(scale); });
    }
    menu->addSeparator();
    QAction* save = menu->addAction(QStringLiteral("&Save Results..."));
    save->setEnabled(actions.canSave);
    QObject::connect(save, &QAction::triggered, menu, actions.onSaveResults);
    QAction* copy = menu->addAction(QStringLiteral("Co&py Results"));
    copy->setEnabled(actions.hasResults);
    QObject::connect(copy, &QAction::triggered, menu, actions.onCopyResults);
    QAction* open = menu->addAction(QStringLiteral("&Open Results..."));
    open->setEnabled(actions.canOpen);
    QObject::connect(open, &QAction::triggered, menu, actions.onOpenResults);
    QAction* compare = menu->addAction(QStringLiteral("Compare &With..."));
    compare->setEnabled(actions.canOpen && actions.hasResults);
    QObject::connect(compare, &QAction::triggered, menu, actions.onCompareWith);
    menu->addSeparator();
    QAction* savePreset = menu->addAction(QStringLiteral("Save as Pr&eset..."));
    savePreset->setEnabled(actions.presetsEnabled);
    QObject::connect(savePreset, &QAction::triggered, menu, actions.onSaveAsPreset);
    QAction* deletePreset = menu->addAction(QStringLiteral("&Delete Preset"));
    deletePreset->setEnabled(actions.presetsEnabled && actions.canDeletePreset);
    QObject::connect(deletePreset, &QAction::triggered, menu, actions.onDeletePreset);
    menu->addSeparator();
    QAction* verify = menu->addAction(QStringLiteral("&Verify Data"));
    verify->setCheckable(true);
    verify->setChecked(actions.verifyData);
    QObject::connect(verify, &QAction::toggled, menu, actions.onVerifyData);
    menu->addSeparator();

    const auto addCommand = [menu, &actions](const QString& text, int commandId) {
        QObject::connect(menu->addAction(text), &QAction::triggered, menu,
                         [onCommand = actions.onCommand, commandId] { onCommand(commandId); });
    };
    addCommand(QStringLiteral("Mi&nimize"), kMinimizeCommand);
    addCommand(QStringLiteral("&Close"), kCloseCommand);
    menu->addSeparator();
    addCommand(QStringLiteral("&About Kel Tallyforge..."), kAboutCommand);
    return menu;
}

}  // namespace kel
