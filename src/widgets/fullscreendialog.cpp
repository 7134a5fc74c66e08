#include "fullscreendialog.h"

#include "app/screeninuse.h"
#include "platform/nativecoordinates.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>

FullScreenDialog::FullScreenDialog(QWidget *pParent, Cover cover)
    : QDialog(pParent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    QScreen *screen = cover == WholeDesktop ? desktopHost() : currentScreen();
    const QRect logical = screen->geometry();
    ratio = screen->devicePixelRatio();
    deviceOrigin = logical.topLeft();
    setScreen(screen);
    if (cover == CurrentScreen) {
        setGeometry(logical);
        return;
    }
    // Qt places a window by the origin of its screen in device pixels and
    // scales everything from there by that screen's ratio.
    const QRect desktop = NativeCoordinates::desktopRect();
    deviceOrigin = desktop.topLeft();
    setGeometry(QRect(
        logical.topLeft() + (desktop.topLeft() - logical.topLeft()) / ratio,
        QSize(int(std::ceil(desktop.width() / ratio)), int(std::ceil(desktop.height() / ratio)))));
}

QScreen *FullScreenDialog::currentScreen()
{
    return ScreenInUse::screen();
}

QScreen *FullScreenDialog::desktopHost()
{
    const QPoint centre = NativeCoordinates::desktopRect().center();
    const QList<QScreen *> screens = QGuiApplication::screens();
    for (QScreen *screen : screens) {
        if (NativeCoordinates::screenRect(screen).contains(centre))
            return screen;
    }
    return screens.isEmpty() ? QGuiApplication::primaryScreen() : screens.last();
}

QRectF FullScreenDialog::fromDesktop(const QRect &device) const
{
    return QRectF(QPointF(device.topLeft() - deviceOrigin) / ratio, QSizeF(device.size()) / ratio);
}

QRectF FullScreenDialog::desktopCoverRect(const QRect &device)
{
    const qreal hostRatio = desktopHost()->devicePixelRatio();
    return QRectF(QPointF(device.topLeft() - NativeCoordinates::desktopRect().topLeft())
                      / hostRatio,
                  QSizeF(device.size()) / hostRatio);
}

QRect FullScreenDialog::screenArea(const QPoint &p) const
{
    for (QScreen *screen : QGuiApplication::screens()) {
        const QRect area = fromDesktop(NativeCoordinates::screenRect(screen)).toRect();
        if (area.contains(p))
            return area;
    }
    return currentArea();
}

QRect FullScreenDialog::currentArea() const
{
    return fromDesktop(NativeCoordinates::screenRect(currentScreen())).toRect();
}

bool FullScreenDialog::event(QEvent *pEvent)
{
    return QWidget::event(pEvent);
}
