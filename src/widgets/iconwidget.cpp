#include "iconwidget.h"

#include "app/resourcepixmap.h"

#include <QPainter>

IconWidget::IconWidget(const QString &strPath, int iSide, QWidget *pParent)
    : QWidget(pParent)
    , path(strPath)
    , side(iSide)
{
    setFixedSize(side, side);
}

void IconWidget::paintEvent(QPaintEvent *)
{
    QPixmap picture = ResourcePixmap::load(path, false);
    if (picture.width() < side * devicePixelRatioF())
        picture = ResourcePixmap::load(path, true);
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(rect(), picture);
}
