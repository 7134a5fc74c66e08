#include "numberwidget.h"

#include <QPainter>

NumberWidget::NumberWidget(QWidget *pParent)
    : QWidget(pParent)
{
}

void NumberWidget::setPixmap(const QPixmap &pixmap)
{
    picture = pixmap;
    update();
}

void NumberWidget::paintEvent(QPaintEvent *)
{
    if (picture.isNull())
        return;
    const int p = picture.width();
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(QRect((width() - p) / 2, (height() - p) / 2, p, p), picture);
}
