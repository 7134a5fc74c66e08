#include "pickerview.h"

#include <QImage>
#include <QPainter>

namespace {
const int Around = 12; // pixels shown on each side of the sampled one, 9 times enlarged
} // namespace

PickerView::PickerView(const QImage *pStill, QWidget *pParent)
    : QWidget(pParent)
    , still(pStill)
{
    setFixedSize(Side, Side);
}

void PickerView::setCentre(const QPoint &pixel)
{
    centre = pixel;
    update();
}

void PickerView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor(120, 120, 120));
    painter.setClipRect(rect().adjusted(1, 1, -1, -1));
    // Where the square leaves the picture the painter shortens the target
    // alike, so the sampled pixel stays under the cross and the rest stays grey.
    const QRect source(centre - QPoint(Around, Around), QSize(2 * Around + 1, 2 * Around + 1));
    painter.drawImage(rect(), *still, source);

    const int w = width();
    const int h = height();
    painter.setCompositionMode(QPainter::CompositionMode_Difference);
    painter.setPen(QColor(0, 255, 255));
    painter.setBrush(Qt::NoBrush);
    painter.drawLine((w - 1) / 2, 0, (w - 1) / 2, h - 1);
    painter.drawLine(0, (h - 1) / 2, w - 1, (h - 1) / 2);
    painter.drawRect(QRect((w - 9) / 2, (h - 9) / 2, 7, 7));
}
