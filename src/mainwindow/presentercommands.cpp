#include "presentercommands.h"

#include "canvas/mainview.h"
#include "canvas/presenterkit.h"
#include "canvas/spotlighttool.h"
#include "canvas/toolkit.h"
#include "mainwindow.h"
#include "menubar.h"

#include <QAction>
#include <QCursor>

PresenterCommands::PresenterCommands(MainWindow *pWindow)
    : QObject(pWindow)
    , window(pWindow)
{
    QAction *fading = window->menu()->actionFadingInk;
    fading->setChecked(PresenterKit::instance().fadingInk());
    connect(&PresenterKit::instance(), &PresenterKit::fadingInkChanged, fading,
            &QAction::setChecked);
}

void PresenterCommands::chooseLaserPointer()
{
    window->tools()->selectDrawTool(ToolKit::Laser, true);
}

// The darkness shows at once, around wherever the pointer is.
void PresenterCommands::chooseSpotlight()
{
    window->tools()->selectDrawTool(ToolKit::Spotlight, true);
    MainView *view = window->view();
    auto *spotlight = static_cast<SpotlightTool *>(ToolKit::instance().tool(ToolKit::Spotlight));
    spotlight->aim(view, view->toPage(view->mapFromGlobal(QCursor::pos())));
}

void PresenterCommands::toggleFadingInk()
{
    PresenterKit &kit = PresenterKit::instance();
    kit.setFadingInk(!kit.fadingInk());
    window->menu()->actionFadingInk->setChecked(kit.fadingInk());
    if (kit.fadingInk() && ToolKit::instance().currentToolId() != ToolKit::Pen)
        window->slot_Pen();
}
