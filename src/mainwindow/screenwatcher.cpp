#include "screenwatcher.h"

#include "app/appstate.h"
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
    knownScreens = QGuiApplication::screens();
    for (QScreen *screen : std::as_const(knownScreens))
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

void ScreenWatcher::screenAdded(QScreen *added)
{
    QScreen *used = knownScreens.value(AppState::instance().screenIndex);
    knownScreens = QGuiApplication::screens();
    if (used)
        AppState::instance().screenIndex = int(knownScreens.indexOf(used));
    watch(added);
    followScreenInUse();
}

// A projector unplugged: drawing on its screen ends as after any change of
// the screen in use, and the toolbar comes back onto a remaining screen. The
// pages stay in the document.
void ScreenWatcher::screenRemoved(QScreen *removed)
{
    AppState &s = AppState::instance();
    QScreen *used = knownScreens.value(s.screenIndex);
    knownScreens = QGuiApplication::screens();
    if (used && used != removed) {
        s.screenIndex = int(knownScreens.indexOf(used));
        followScreenInUse();
        // Over a page the toolbar lives on the page's screen; on the desktop
        // it may have been on the one that went.
        if (!window->modes()->isDrawMode())
            window->slot_ScreenResized(s.screenIndex);
        return;
    }
    s.screenIndex = qMax(0, int(knownScreens.indexOf(QGuiApplication::primaryScreen())));
    followScreenInUse();
    window->slot_ScreenResized(s.screenIndex);
}

void ScreenWatcher::screenResized(int iScreen)
{
    if (iScreen != AppState::instance().screenIndex || resizeTimer)
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
