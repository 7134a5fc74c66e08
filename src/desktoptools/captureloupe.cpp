#include "captureloupe.h"

#include "app/devicepixels.h"

#include <QPainter>
#include <QPixmap>

namespace {
const QColor DarkGrey(30, 30, 30);
const QColor MidGrey(120, 120, 120);
const int Magnified = 25; // source pixels shown across the loupe
} // namespace

void CaptureLoupe::place(const QPoint &p, const QSize &screenSize)
{
    const QPoint bottomRight(int(screenSize.width() - 122.5), int(screenSize.height() - 122.5));
    if (atTopLeft()) {
        if (QRect(QPoint(10, 10), QPoint(234, 234)).contains(p))
            loupeCentre = bottomRight;
    } else if (QRect(loupeCentre - QPoint(112, 112), loupeCentre + QPoint(112, 112)).contains(p)) {
        loupeCentre = topLeftCentre();
    }
}

QRect CaptureLoupe::rect() const
{
    return QRect(loupeCentre - QPoint(Side / 2, Side / 2), QSize(Side, Side));
}

void CaptureLoupe::paint(QPainter &painter, const QPixmap &stillImage, const QPoint &p,
                         const QString &strCaption) const
{
    const QRect square = rect();
    painter.save();
    painter.fillRect(square, DarkGrey);
    painter.setClipRect(square.adjusted(1, 1, -1, -1));
    const QRect source(p.x() - Magnified / 2, p.y() - Magnified / 2, Magnified, Magnified);
    painter.drawPixmap(square, stillImage,
                       DevicePixels::rect(source, stillImage.devicePixelRatio()));

    painter.setBrush(Qt::NoBrush);
    painter.setCompositionMode(QPainter::CompositionMode_Difference);
    painter.setPen(QPen(QColor(0, 255, 255), 1));
    const QPoint c = loupeCentre;
    const int reach = int(Side / 2.0);
    painter.drawLine(c.x() - reach, c.y(), c.x() + reach, c.y());
    painter.drawLine(c.x(), c.y() - reach, c.x(), c.y() + reach);
    painter.drawRect(QRect(c - QPoint(4, 4), c + QPoint(3, 3)));

    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    const QRect strip(square.left(), square.bottom() - 19, Side, 20);
    painter.fillRect(strip, MidGrey);
    painter.setPen(Qt::white);
    painter.drawText(strip, Qt::AlignCenter, strCaption);
    painter.restore();
}
