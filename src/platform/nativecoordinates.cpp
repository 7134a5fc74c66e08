#include "nativecoordinates.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>

namespace NativeCoordinates {

QPoint toNative(const QPoint &p)
{
    const QScreen *screen = QGuiApplication::screenAt(p);
    if (!screen)
        return p;
    const QPoint origin = screen->geometry().topLeft();
    return origin + (p - origin) * screen->devicePixelRatio();
}

QPointF toNative(const QPointF &p)
{
    const QScreen *screen = QGuiApplication::screenAt(p.toPoint());
    if (!screen)
        return p;
    const QPointF origin = screen->geometry().topLeft();
    return origin + (p - origin) * screen->devicePixelRatio();
}

QRect fromNative(const QRect &r)
{
    for (const QScreen *screen : QGuiApplication::screens()) {
        if (screenRect(screen).contains(r.topLeft())) {
            const QPoint origin = screen->geometry().topLeft();
            const qreal ratio = screen->devicePixelRatio();
            return QRect(origin + (r.topLeft() - origin) / ratio, r.size() / ratio);
        }
    }
    return r;
}

QRect screenRect(const QScreen *screen)
{
    const QRect logical = screen->geometry();
    const qreal ratio = screen->devicePixelRatio();
    return QRect(logical.topLeft(),
                 QSize(int(std::lround(logical.width() * ratio)),
                       int(std::lround(logical.height() * ratio))));
}

QRect desktopRect()
{
    QRect all;
    for (const QScreen *screen : QGuiApplication::screens())
        all |= screenRect(screen);
    return all;
}

} // namespace NativeCoordinates
