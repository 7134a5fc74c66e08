#include "mainshortcut.h"

#include "menubar.h"

#include <QAction>
#include <QShortcut>

MainShortcut::MainShortcut(QWidget *pToolbar, MenuBar *pMenuBar)
    : QObject(pToolbar)
    , toolbar(pToolbar)
    , menu(pMenuBar)
{
    add("Ctrl+N", &MainShortcut::slot_ActionNew);
    add("Ctrl+Shift+N", &MainShortcut::slot_ActionNewFullScreenCapture);
    add("Ctrl+W", &MainShortcut::slot_ActionClose);
    add("Ctrl+Shift+W", &MainShortcut::slot_ActionCloseAll);
    add("Ctrl+O", &MainShortcut::slot_ActionOpen);
    add("Ctrl+S", &MainShortcut::slot_ActionSave);
    add("Ctrl+Q", &MainShortcut::slot_ActionExit);
    add("Ctrl+Z", &MainShortcut::slot_ActionUndo);
    add("Ctrl+Y", &MainShortcut::slot_ActionRedo);
    add("Ctrl+L", &MainShortcut::slot_ActionClearPage);
    add("Ctrl+I", &MainShortcut::slot_ActionInsertImage);
    add("Ctrl+Shift+0", &MainShortcut::slot_ActionInsertText);
    add("Ctrl+Shift+1", &MainShortcut::slot_ActionInsertImage);
    add("Ctrl+Shift+2", &MainShortcut::slot_ActionInsertNumber);
    add("PgUp", &MainShortcut::slot_ActionPageup);
    add("PgDown", &MainShortcut::slot_ActionPagedown);
    add("Ctrl+0", &MainShortcut::slot_ActionDrawTools0);
    add("Ctrl+1", &MainShortcut::slot_ActionDrawTools1);
    add("Ctrl+2", &MainShortcut::slot_ActionDrawTools2);
    add("Ctrl+3", &MainShortcut::slot_ActionDrawTools3);
    add("Ctrl+4", &MainShortcut::slot_ActionDrawTools4);
    add("Ctrl+5", &MainShortcut::slot_ActionDrawTools5);
    add("Ctrl+6", &MainShortcut::slot_ActionDrawTools6);
    add("Ctrl+7", &MainShortcut::slot_ActionDrawTools7);
    add("Ctrl+D", &MainShortcut::slot_FloatingDrawToolOptions);
    add("Ctrl+8", [this] { trigger(menu->actionLaserPointer); });
    add("Ctrl+9", [this] { trigger(menu->actionSpotlight); });
    add("Ctrl+Shift+F", [this] { trigger(menu->actionFadingInk); });
    add("Alt+0", &MainShortcut::slot_ActionScreenCapture_Rect);
    add("Alt+1", &MainShortcut::slot_ActionScreenCapture_Freeform);
    add("Alt+2", &MainShortcut::slot_ActionScreenCapture_Window);
    add("Alt+3", &MainShortcut::slot_ActionScreenCapture_PreviousArea);
    add("Alt+4", &MainShortcut::slot_ActionColorPicker);
    add("Alt+5", &MainShortcut::slot_ActionMagnifier);
    add("Alt+6", &MainShortcut::slot_ActionRuler);
    add("Alt+7", &MainShortcut::slot_ActionProtractor);
}

template<typename Slot>
void MainShortcut::add(const char *keys, Slot slot)
{
    auto *shortcut = new QShortcut(QKeySequence(QLatin1String(keys)), toolbar);
    shortcut->setContext(Qt::WindowShortcut);
    connect(shortcut, &QShortcut::activated, this, slot);
    shortcuts.append(shortcut);
}

void MainShortcut::setActive(bool bActive)
{
    active = bActive;
    for (QShortcut *shortcut : std::as_const(shortcuts))
        shortcut->setEnabled(bActive);
}

void MainShortcut::trigger(QAction *pAction)
{
    if (pAction && pAction->isEnabled())
        pAction->trigger();
}

void MainShortcut::slot_ActionNew()
{
    trigger(menu->actionNew);
}
void MainShortcut::slot_ActionNewFullScreenCapture()
{
    trigger(menu->actionNewFullScreenCapture);
}
void MainShortcut::slot_ActionOpen()
{
    trigger(menu->actionOpen);
}
void MainShortcut::slot_ActionSave()
{
    trigger(menu->actionSave);
}
void MainShortcut::slot_ActionClose()
{
    trigger(menu->actionClose);
}
void MainShortcut::slot_ActionCloseAll()
{
    trigger(menu->actionCloseAll);
}
void MainShortcut::slot_ActionExit()
{
    trigger(menu->actionExit);
}
void MainShortcut::slot_ActionUndo()
{
    trigger(menu->actionUndo);
}
void MainShortcut::slot_ActionRedo()
{
    trigger(menu->actionRedo);
}
void MainShortcut::slot_ActionClearPage()
{
    trigger(menu->actionClearPage);
}
void MainShortcut::slot_ActionInsertImage()
{
    trigger(menu->actionInsertImage);
}
void MainShortcut::slot_ActionInsertText()
{
    trigger(menu->actionInsertText);
}
void MainShortcut::slot_ActionInsertNumber()
{
    trigger(menu->actionInsertNumber);
}
void MainShortcut::slot_ActionPageup()
{
    trigger(menu->actionPageUp);
}
void MainShortcut::slot_ActionPagedown()
{
    trigger(menu->actionPageDown);
}
void MainShortcut::slot_ActionDrawTools0()
{
    trigger(menu->toolAction(0));
}
void MainShortcut::slot_ActionDrawTools1()
{
    trigger(menu->toolAction(1));
}
void MainShortcut::slot_ActionDrawTools2()
{
    trigger(menu->toolAction(2));
}
void MainShortcut::slot_ActionDrawTools3()
{
    trigger(menu->toolAction(3));
}
void MainShortcut::slot_ActionDrawTools4()
{
    trigger(menu->toolAction(4));
}
void MainShortcut::slot_ActionDrawTools5()
{
    trigger(menu->toolAction(5));
}
void MainShortcut::slot_ActionDrawTools6()
{
    trigger(menu->toolAction(6));
}
void MainShortcut::slot_ActionDrawTools7()
{
    trigger(menu->toolAction(7));
}
void MainShortcut::slot_FloatingDrawToolOptions()
{
    trigger(menu->actionFloatingDrawToolOptions);
}
void MainShortcut::slot_ActionScreenCapture_Rect()
{
    trigger(menu->actionDesktopTools[0]);
}
void MainShortcut::slot_ActionScreenCapture_Freeform()
{
    trigger(menu->actionDesktopTools[1]);
}
void MainShortcut::slot_ActionScreenCapture_Window()
{
    trigger(menu->actionDesktopTools[2]);
}
void MainShortcut::slot_ActionScreenCapture_PreviousArea()
{
    trigger(menu->actionDesktopTools[3]);
}
void MainShortcut::slot_ActionColorPicker()
{
    trigger(menu->actionDesktopTools[4]);
}
void MainShortcut::slot_ActionMagnifier()
{
    trigger(menu->actionDesktopTools[5]);
}
void MainShortcut::slot_ActionRuler()
{
    trigger(menu->actionDesktopTools[6]);
}
void MainShortcut::slot_ActionProtractor()
{
    trigger(menu->actionDesktopTools[7]);
}
