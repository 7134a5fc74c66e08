#include "captureloupe.h"

#include "app/devicepixels.h"

#include <QPainter>
#include <QPixmap>

namespace {
const QColor DarkGrey(30, 30, 30);
const QColor MidGrey(120, 120, 120);
const int Magnified = 25; // source pixels shown across the loupe
} // namespace

void CaptureLoupe::place(const QPoint &p, const QRect &screenArea)
{
    const QPoint topLeft = screenArea.topLeft() + QPoint(122, 122);
    const QPoint bottomRight(int(screenArea.left() + screenArea.width() - 122.5),
                             int(screenArea.top() + screenArea.height() - 122.5));
    if (screenArea != area) {
        area = screenArea;
        loupeCentre = topLeft;
    }
    if (QRect(loupeCentre - QPoint(112, 112), loupeCentre + QPoint(112, 112)).contains(p))
        loupeCentre = loupeCentre == topLeft ? bottomRight : topLeft;
}

QRect CaptureLoupe::rect() const
{
    return QRect(loupeCentre - QPoint(Side / 2, Side / 2), QSize(Side, Side));
}

// One screen pixel per nine logical pixels at any scale, so that the framed
// centre holds exactly the pixel under the pointer.
void CaptureLoupe::paint(QPainter &painter, const QPixmap &stillImage, const QPointF &p,
                         const QString &strCaption) const
{
    const QRect square = rect();
    painter.save();
    painter.fillRect(square, DarkGrey);
    painter.setClipRect(square.adjusted(1, 1, -1, -1));
    const QPoint centrePixel = DevicePixels::pixel(p, stillImage.devicePixelRatio());
    const QRect source(centrePixel - QPoint(Magnified / 2, Magnified / 2),
                       QSize(Magnified, Magnified));
    painter.drawPixmap(square, stillImage, source);

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
