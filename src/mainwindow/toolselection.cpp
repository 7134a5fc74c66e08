#include "toolselection.h"

#include "canvas/mainview.h"
#include "canvas/tooldial.h"
#include "canvas/toolkit.h"
#include "drawmodeswitch.h"
#include "mainwindow.h"
#include "menubar.h"
#include "toolbar/optionpopups.h"
#include "toolbar/toolwidget.h"
#include "toolbar/toolwidgetbtn_option.h"
#include "windowhelpers.h"

#include <QAction>

ToolSelection::ToolSelection(MainWindow *pWindow)
    : QObject(pWindow)
    , window(pWindow)
{
}

// The toolbar, the menu and the option panel follow the tool.
void ToolSelection::showTool(int iTool)
{
    window->optionPopups()->hidePopup();
    window->toolbar()->setCurrentToolButton(iTool + 2);
    if (QAction *action = window->menu()->toolAction(iTool))
        action->setChecked(true);
    ToolKit::instance().setCurrentTool(iTool);
    window->optionPopups()->toolChanged(window->toolbar()->optionButton());
}

void ToolSelection::selectDrawTool(int iTool, bool bMustChangeDrawMode)
{
    ToolKit &kit = ToolKit::instance();
    if (iTool == ToolKit::Select || iTool == ToolKit::Text)
        window->view()->setCursor(Qt::ArrowCursor);
    else
        SetScaledCursor(window->view(), QString(), QPoint(11, 11));
    const int previous = kit.currentToolId();
    showTool(iTool);
    if (bMustChangeDrawMode) {
        const DrawModeSwitch *modes = window->modes();
        if (!modes->isDrawMode())
            window->slot_NewCapture();
        else if (modes->isLiveDesktop() && previous == ToolKit::Select)
            window->view()->update();
    }
    updateDial();
    Q_EMIT drawToolChosen(iTool);
}

void ToolSelection::selectMouse(bool bGotoDrawMode)
{
    ToolKit &kit = ToolKit::instance();
    ToolWidget *toolbar = window->toolbar();
    const bool leaving = bGotoDrawMode && window->modes()->isDrawMode();
    if (leaving)
        toolbar->hide();
    if (kit.isDrawingTool(kit.currentToolId()))
        kit.setLastTool(kit.currentToolId());
    SetScaledCursor(window->view(), QString(), QPoint(11, 11));
    showTool(ToolKit::Mouse);
    toolbar->setDial(0, 0, 0);
    toolbar->setOptionColour(Qt::transparent);
    if (leaving)
        window->modes()->leaveDrawing();
}

void ToolSelection::restoreDrawTool()
{
    const int last = ToolKit::instance().lastToolId();
    if (ToolKit::instance().isDrawingTool(last))
        selectDrawTool(last, false);
}

// The width dial offers the current tool's range in its colour.
void ToolSelection::updateDial()
{
    const ToolDial::Setting dial = ToolDial::forTool(ToolKit::instance().currentToolId());
    window->toolbar()->setDial(dial.value, dial.minimum, dial.maximum);
    window->toolbar()->setOptionColour(dial.colour);
}

void ToolSelection::changeWidth(int iWidth)
{
    if (ToolDial::setWidth(ToolKit::instance().currentToolId(), iWidth)) {
        updateDial();
        window->optionPopups()->refreshStroke();
    }
}

void ToolSelection::changeColour(const QColor &colour)
{
    if (ToolDial::setColour(ToolKit::instance().currentToolId(), colour)) {
        updateDial();
        window->optionPopups()->refreshStroke();
    }
}

void ToolSelection::changeOpacity(int iOpacity)
{
    ToolDial::setOpacity(ToolKit::instance().currentToolId(), iOpacity);
}
