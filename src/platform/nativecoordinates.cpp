#include "nativecoordinates.h"

#include <QGuiApplication>
#include <QScreen>

namespace NativeCoordinates {

QPoint toNative(const QPoint &p)
{
    const QScreen *screen = QGuiApplication::screenAt(p);
    if (!screen)
        return p;
    const QPoint origin = screen->geometry().topLeft();
    return origin + (p - origin) * screen->devicePixelRatio();
}

QRect fromNative(const QRect &r)
{
    for (const QScreen *screen : QGuiApplication::screens()) {
        const QPoint origin = screen->geometry().topLeft();
        const qreal ratio = screen->devicePixelRatio();
        if (QRect(origin, screen->size() * ratio).contains(r.topLeft()))
            return QRect(origin + (r.topLeft() - origin) / ratio, r.size() / ratio);
    }
    return r;
}

} // namespace NativeCoordinates
