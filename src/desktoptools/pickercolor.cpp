#include "pickercolor.h"

#include <QPainter>

PickerColor::PickerColor(QWidget *pParent)
    : QWidget(pParent)
{
    setFixedSize(120, 24);
}

void PickerColor::setColor(QRgb rgb)
{
    colour = rgb;
    update();
}

void PickerColor::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const int w = width();
    const int h = height();
    painter.fillRect(QRect(QPoint(0, 0), QPoint(w - 2, h - 2)), QColor(120, 120, 120));
    painter.fillRect(QRect(QPoint(1, 1), QPoint(w - 3, h - 3)), QColor(230, 230, 230));
    painter.fillRect(QRect(QPoint(2, 2), QPoint(w - 4, h - 4)), QColor(colour));
}
