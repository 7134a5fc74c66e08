#include "actiondispatcher.h"

#include "app/appstate.h"
#include "app/instancerequest.h"
#include "mainwindow.h"
#include "toolbar/toolwidget.h"

#include <QDebug>
#include <QSystemTrayIcon>

ActionDispatcher::ActionDispatcher(MainWindow *pWindow)
    : QObject(pWindow)
    , window(pWindow)
{
    MainWindow *w = window;
    table = {
        { QStringLiteral("pen"), [w] { w->slot_Pen(); } },
        { QStringLiteral("highlighter"), [w] { w->slot_Highlighter(); } },
        { QStringLiteral("eraser"), [w] { w->slot_Eraser(); } },
        { QStringLiteral("line"), [w] { w->slot_Line(); } },
        { QStringLiteral("shape"), [w] { w->slot_Shape(); } },
        { QStringLiteral("text"), [w] { w->slot_Text(); } },
        { QStringLiteral("select"), [w] { w->slot_Select(); } },
        { QStringLiteral("mouse"), [w] { w->slot_Mouse(); } },
        { QStringLiteral("new-page"), [w] { w->slot_New(); } },
        { QStringLiteral("new-capture"), [w] { w->slot_NewFullScreenCapture(); } },
        { QStringLiteral("capture-region"), [w] { w->slot_ScreenCapture_Rect(); } },
        { QStringLiteral("capture-freeform"), [w] { w->slot_ScreenCapture_Freeform(); } },
        { QStringLiteral("capture-window"), [w] { w->slot_ScreenCapture_Window(); } },
        { QStringLiteral("capture-previous"), [w] { w->slot_ScreenCapture_PreviousArea(); } },
        { QStringLiteral("colour-picker"), [w] { w->slot_ColorPicker(); } },
        { QStringLiteral("magnifier"), [w] { w->slot_Magnifier(); } },
        { QStringLiteral("zoom"), [w] { w->slot_LiveZoom(); } },
        { QStringLiteral("focus-toolbar"), [w] { w->slot_FocusToolbar(); } },
        { QStringLiteral("ruler"), [w] { w->slot_Ruler(); } },
        { QStringLiteral("protractor"), [w] { w->slot_Protractor(); } },
        { QStringLiteral("undo"), [w] { w->slot_Undo(); } },
        { QStringLiteral("redo"), [w] { w->slot_Redo(); } },
        { QStringLiteral("clear-page"), [w] { w->slot_ClearPage(); } },
        { QStringLiteral("next-page"), [w] { w->slot_PageDown(); } },
        { QStringLiteral("previous-page"), [w] { w->slot_PageUp(); } },
        { QStringLiteral("back-to-last-page"), [w] { w->slot_BackToLastPage(); } },
        { QStringLiteral("live-desktop"), [w] { w->slot_LiveDesktop(); } },
        { QStringLiteral("laser-pointer"), [w] { w->slot_LaserPointer(); } },
        { QStringLiteral("spotlight"), [w] { w->slot_Spotlight(); } },
        { QStringLiteral("fading-ink"), [w] { w->slot_FadingInk(); } },
        { QStringLiteral("show"), [this] { show(); } },
        { QStringLiteral("hide"), [this] { hide(); } },
        { QStringLiteral("quit"), [w] { w->slot_Exit(); } },
    };
}

bool ActionDispatcher::perform(const QString &strName)
{
    const auto it = table.constFind(strName);
    if (it == table.constEnd())
        return false;
    (*it)();
    return true;
}

void ActionDispatcher::slot_Handle(const InstanceRequest &request)
{
    if (request.isEmpty()) {
        show();
        return;
    }
    // The actions wait for the pictures, which are read on a worker.
    window->openFiles(request.files, [this, actions = request.actions] {
        for (const QString &name : actions) {
            if (!perform(name))
                qWarning().noquote() << "Unknown action ignored:" << name;
        }
    });
}

// Without a tray the toolbar's own hide would end the program: a remote's
// "hide" only folds the toolbar then.
void ActionDispatcher::hide()
{
    const AppState &s = AppState::instance();
    if (s.showTrayIcon && QSystemTrayIcon::isSystemTrayAvailable())
        window->slot_HideToTray();
    else
        window->toolbar()->setFolded(true);
}

// Back from the tray, or unfolded where "hide" could only fold it.
void ActionDispatcher::show()
{
    window->slot_OpenFromTray();
    window->toolbar()->setFolded(false);
}
