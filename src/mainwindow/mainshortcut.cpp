#include "mainshortcut.h"

#include "menubar.h"

#include <QAction>
#include <QShortcut>

MainShortcut::MainShortcut(QWidget *pToolbar, MenuBar *pMenuBar)
    : QObject(pToolbar)
{
    const QList<QAction *> actions = pMenuBar->shortcutActions();
    for (QAction *action : actions) {
        const QList<QKeySequence> keys = action->shortcuts();
        for (const QKeySequence &key : keys) {
            auto *shortcut = new QShortcut(key, pToolbar);
            shortcut->setContext(Qt::WindowShortcut);
            connect(shortcut, &QShortcut::activated, this, [action] { trigger(action); });
            shortcuts.append(shortcut);
        }
    }
}

void MainShortcut::setActive(bool bActive)
{
    active = bActive;
    for (QShortcut *shortcut : std::as_const(shortcuts))
        shortcut->setEnabled(bActive);
}

void MainShortcut::trigger(QAction *pAction)
{
    if (pAction->isEnabled())
        pAction->trigger();
}
