#include "screenwatcher.h"

#include "app/appstate.h"
#include "app/screeninuse.h"
#include "canvas/toolkit.h"
#include "drawmodeswitch.h"
#include "mainwindow.h"
#include "toolbar/toolwidget.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

namespace {
constexpr int ScreenSettleMs = 1000;
} // namespace

// Geometry changes of any screen reach MainWindow::slot_ScreenResized with
// that screen's index; screens that come and go are watched alike.
ScreenWatcher::ScreenWatcher(MainWindow *pWindow)
    : QObject(pWindow)
    , window(pWindow)
{
    ScreenInUse::instance().use(QGuiApplication::primaryScreen());
    const QList<QScreen *> screens = QGuiApplication::screens();
    for (QScreen *screen : screens)
        watch(screen);
    connect(qApp, &QGuiApplication::screenAdded, this, &ScreenWatcher::screenAdded);
    connect(qApp, &QGuiApplication::screenRemoved, this, &ScreenWatcher::screenRemoved);
}

void ScreenWatcher::watch(QScreen *screen)
{
    connect(screen, &QScreen::geometryChanged, window, [this, screen] {
        window->slot_ScreenResized(int(QGuiApplication::screens().indexOf(screen)));
    });
}

// Asked by the toolbar, dropped on another screen: new pages, the drawing
// window and the full-screen tools go there.
void ScreenWatcher::useScreen(QScreen *pScreen)
{
    ScreenInUse::instance().use(pScreen);
    followScreenInUse();
}

void ScreenWatcher::screenAdded(QScreen *added)
{
    watch(added);
    followScreenInUse();
}

// A projector unplugged: drawing on its screen ends as after any change of
// the screen in use, and the toolbar comes back onto a remaining screen. The
// pages stay in the document.
void ScreenWatcher::screenRemoved(QScreen *removed)
{
    const bool lost = ScreenInUse::screen() == removed;
    if (lost)
        ScreenInUse::instance().use(QGuiApplication::primaryScreen());
    followScreenInUse();
    // Over a page the toolbar lives on the page's screen; on the desktop it
    // may have been on the one that went.
    if (lost || !window->modes()->isDrawMode())
        window->slot_ScreenResized(ScreenInUse::index());
}

void ScreenWatcher::screenResized(int iScreen)
{
    if (iScreen != ScreenInUse::index() || resizeTimer)
        return;
    resizeTimer = new QTimer(this);
    resizeTimer->setObjectName(QStringLiteral("resizeTimer"));
    resizeTimer->setSingleShot(true);
    connect(resizeTimer, &QTimer::timeout, window, &MainWindow::slot_ScreenResizedTimeOut);
    resizeTimer->start(ScreenSettleMs);
}

void ScreenWatcher::settled()
{
    resizeTimer->deleteLater();
    resizeTimer = nullptr;
    window->modes()->whenOnDesktop([this] {
        ToolWidget *toolbar = window->toolbar();
        toolbar->moveToolbar(toolbar->placedPosition());
        followScreenInUse();
    });
}

void ScreenWatcher::followScreenInUse()
{
    QScreen *screen = window->currentScreen();
    if (window->modes()->isDrawMode() || !screen || window->geometry() == screen->geometry())
        return;
    // A hidden window keeps the screen it was shown on; dialogs take theirs.
    window->setScreen(screen);
    window->setGeometry(screen->geometry());
}
