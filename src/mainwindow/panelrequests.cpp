#include "panelrequests.h"

#include "mainwindow.h"
#include "menubar.h"
#include "toolbar/toolwidget.h"

#include <QAction>

PanelRequests::PanelRequests(MainWindow *pWindow)
    : window(pWindow)
{
    install(this);
}

QWidget *PanelRequests::dialogParent()
{
    return window;
}

QString PanelRequests::toolTitle(int iTool)
{
    QAction *action = window->menu()->toolAction(iTool);
    return action ? action->text().remove(QLatin1Char('&')) : QString();
}

bool PanelRequests::hasPreviousArea()
{
    return window->menu()->previousAreaAction()->isEnabled();
}

void PanelRequests::selectTools(int iTools)
{
    window->slot_SelectTools(iTools);
}

void PanelRequests::selectOpPage(int iOpPage)
{
    window->slot_SelectOpPage(iOpPage);
}

void PanelRequests::selectSave(int iSave)
{
    window->slot_SelectSave(iSave);
}

void PanelRequests::run(Command command)
{
    MenuBar *menu = window->menu();
    QAction *actions[]
        = { menu->actionNewFullScreenCapture, menu->actionDuplicatePage, menu->actionOpen };
    actions[command]->trigger();
}

void PanelRequests::changeDrawToolWidth(int iWidth)
{
    window->slot_ChangeDrawToolWidth(iWidth);
}

void PanelRequests::changeDrawToolColor(const QColor &colour)
{
    window->slot_ChangeDrawToolColor(colour);
}

void PanelRequests::changeNewpageColor(const QColor &colour)
{
    window->slot_ChangeNewpageColor(colour);
}

void PanelRequests::showDial(int iValue, int iMinimum, int iMaximum)
{
    window->toolbar()->setDial(iValue, iMinimum, iMaximum);
}
