#include "zoomcommands.h"

#include "canvas/mainview.h"
#include "drawmodeswitch.h"
#include "mainwindow.h"
#include "menubar.h"

#include <QAction>

ZoomCommands::ZoomCommands(MainWindow *pWindow)
    : QObject(pWindow)
    , window(pWindow)
{
    MainView *view = window->view();
    connect(view, &MainView::signal_PageCommands, this, &ZoomCommands::updateEnabled);
    connect(view, &MainView::liveDesktopChanged, this, &ZoomCommands::updateEnabled);
    updateEnabled();
}

void ZoomCommands::updateEnabled()
{
    const MainView *view = window->view();
    const bool zoomable = view->currentPage() && !view->isLiveDesktop();
    const MenuBar *menu = window->menu();
    for (QAction *action :
         { menu->actionZoomIn, menu->actionZoomOut, menu->actionFitPage, menu->actionActualSize })
        action->setEnabled(zoomable);
}

bool ZoomCommands::reachZoomablePage()
{
    const MainView *view = window->view();
    if (!view->currentPage() || view->isLiveDesktop() || window->isBusy())
        return false;
    window->modes()->enterFromDesktop();
    return true;
}

void ZoomCommands::zoomIn()
{
    if (reachZoomablePage())
        window->view()->zoomIn();
}

void ZoomCommands::zoomOut()
{
    if (reachZoomablePage())
        window->view()->zoomOut();
}

void ZoomCommands::fitPage()
{
    if (reachZoomablePage())
        window->view()->zoomToFit();
}

void ZoomCommands::actualSize()
{
    if (reachZoomablePage())
        window->view()->zoomToActual();
}
