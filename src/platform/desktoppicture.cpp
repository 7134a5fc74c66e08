#include "desktoppicture.h"

#include "nativecoordinates.h"
#include "platform.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QScreen>

#include <utility>

// Composed in device pixels, where screens of different ratios lie side by
// side without gap: each screen the rectangle touches gives its part one to
// one, and the picture takes the finest of their ratios.
QPixmap DesktopPicture::grab(const QRect &device)
{
    QImage picture(device.size(), QImage::Format_RGB32);
    picture.fill(Qt::black);
    QPainter painter(&picture);
    qreal ratio = 0;
    for (QScreen *screen : QGuiApplication::screens()) {
        const QRect covered = NativeCoordinates::screenRect(screen);
        const QRect part = covered & device;
        if (part.isEmpty())
            continue;
        const QPixmap grab = Platform::instance().grabScreen(screen);
        if (grab.isNull())
            return QPixmap();
        painter.drawPixmap(QRect(part.topLeft() - device.topLeft(), part.size()), grab,
                           part.translated(-covered.topLeft()));
        ratio = qMax(ratio, screen->devicePixelRatio());
    }
    painter.end();
    if (ratio == 0)
        return QPixmap();
    picture.setDevicePixelRatio(ratio);
    return QPixmap::fromImage(std::move(picture));
}
