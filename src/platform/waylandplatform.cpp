#include "waylandplatform.h"

#include "globalshortcutsportal.h"
#include "screenshotportal.h"

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

namespace {
// Grabs of several screens for one capture come within this time.
constexpr qint64 ShotReuseMs = 1000;
} // namespace

WaylandPlatform::WaylandPlatform(std::unique_ptr<Platform> pWindows,
                                 std::unique_ptr<ScreenshotPortal> pPortal,
                                 std::unique_ptr<GlobalShortcutsPortal> pShortcuts)
    : shortcuts(std::move(pShortcuts))
    , windows(std::move(pWindows))
    , portal(std::move(pPortal))
{
    QObject::connect(&windows->hotKeyEvents(), &HotKeyEvents::signal_HotKey, &hotKeyEvents(),
                     &HotKeyEvents::signal_HotKey);
    if (shortcuts)
        QObject::connect(shortcuts.get(), &GlobalShortcutsPortal::signal_Activated, &hotKeyEvents(),
                         &HotKeyEvents::signal_HotKey);
    QObject::connect(
        portal.get(), &ScreenshotPortal::signal_Taken, &grabNotices(),
        [this](const QImage &picture, const QString &strWhy) { taken(picture, strWhy); });
    QObject::connect(portal.get(), &ScreenshotPortal::signal_AskingUser, &grabNotices(),
                     &GrabNotices::signal_AskingUser);
}

WaylandPlatform::~WaylandPlatform() = default;

QString WaylandPlatform::name() const
{
    return QStringLiteral("wayland/") + windows->name();
}

void WaylandPlatform::setTopmost(QWidget *pWidget)
{
    windows->setTopmost(pWidget);
}

void WaylandPlatform::setToolWindowStyle(QWidget *pWidget)
{
    windows->setToolWindowStyle(pWidget);
}

// Every Wayland compositor composes XWayland's windows; the X side still
// has to say that translucent windows show through.
bool WaylandPlatform::isCompositionAvailable()
{
    return windows->isCompositionAvailable();
}

// Without the portal, grabs still fire while one of the program's own
// windows has the focus. With it, the desktop decides the keys, perhaps
// after asking the user: the combination counts as had.
bool WaylandPlatform::registerHotKey(int iId, const HotKeyRecord &record)
{
    if (!shortcuts || !shortcuts->isOffered())
        return windows->registerHotKey(iId, record);
    triggers.insert(iId, GlobalShortcutsPortal::trigger(record));
    bindSoon();
    return true;
}

void WaylandPlatform::unregisterHotKey(int iId)
{
    if (!shortcuts || !shortcuts->isOffered())
        return windows->unregisterHotKey(iId);
    if (triggers.remove(iId) > 0)
        bindSoon();
}

void WaylandPlatform::bindSoon()
{
    if (bindPending)
        return;
    bindPending = true;
    // Gone with the shortcuts portal, the timer never fires for a dead backend.
    QTimer::singleShot(0, shortcuts.get(), [this] {
        bindPending = false;
        shortcuts->bind(triggers);
    });
}

WId WaylandPlatform::topLevelWindowAt(const QPoint &, const QList<WId> &)
{
    return 0;
}

QRect WaylandPlatform::windowFrameRect(WId)
{
    return {};
}

bool WaylandPlatform::showWindowFrame(WId)
{
    return false;
}

void WaylandPlatform::hideWindowFrame(WId) { }

QString WaylandPlatform::hotKeyAdvice() const
{
    if (shortcuts && shortcuts->isOffered())
        return {};
    return QStringLiteral("On Wayland these hotkeys only work while Tavelmark has the focus. "
                          "For shortcuts that work everywhere, add them in your desktop's "
                          "keyboard settings with commands like these:");
}

// Grabs use the portal's answer to fetchDesktop(); without one there is
// nothing to show, and the desktop is not asked here, where nothing may wait.
QPixmap WaylandPlatform::grabScreen(QScreen *screen)
{
    if (!screen)
        return {};
    if (!hasFreshAnswer()) {
        shot = QImage();
        refusal = QStringLiteral("The desktop's picture was not ready.");
    }
    if (shot.isNull()) {
        Q_EMIT grabNotices().signal_Refused(refusal);
        return {};
    }
    QRect desktopRect;
    for (const QScreen *s : QGuiApplication::screens())
        desktopRect |= s->geometry();
    return cropToScreen(shot, desktopRect, screen->geometry(), screen->devicePixelRatio());
}

// Every capture asks anew: the desktop changes between two of them.
bool WaylandPlatform::fetchDesktop()
{
    portal->take();
    return true;
}

void WaylandPlatform::cancelFetch()
{
    portal->cancel();
}

bool WaylandPlatform::hasFreshAnswer() const
{
    return shotAge.isValid() && shotAge.elapsed() < ShotReuseMs;
}

// A refusal is kept no longer than a picture: the next capture asks again.
void WaylandPlatform::taken(const QImage &picture, const QString &strWhy)
{
    shot = picture;
    refusal = strWhy;
    shotAge.start();
    Q_EMIT grabNotices().signal_Fetched();
}

QPixmap WaylandPlatform::cropToScreen(const QImage &desktop, const QRect &desktopRect,
                                      const QRect &screenRect, qreal ratio)
{
    if (desktop.isNull() || desktopRect.isEmpty() || screenRect.isEmpty())
        return {};
    const qreal sx = qreal(desktop.width()) / desktopRect.width();
    const qreal sy = qreal(desktop.height()) / desktopRect.height();
    const QRect part = screenRect.translated(-desktopRect.topLeft());
    const QRect source(qRound(part.x() * sx), qRound(part.y() * sy), qRound(part.width() * sx),
                       qRound(part.height() * sy));
    QImage piece = desktop.copy(source);
    const QSize wanted(qRound(screenRect.width() * ratio), qRound(screenRect.height() * ratio));
    if (piece.size() != wanted)
        piece = piece.scaled(wanted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QPixmap picture = QPixmap::fromImage(piece);
    picture.setDevicePixelRatio(ratio);
    return picture;
}
