#include "focusring.h"

#include "lookcolours.h"
#include "toolbarscale.h"

#include <QPainter>
#include <QWidget>

QColor FocusRing::colour()
{
    return LookColours::focusRing().dark;
}

QColor FocusRing::edgeColour()
{
    return LookColours::focusRing().light;
}

void FocusRing::paint(QPainter &painter, const QRect &rect, const QWidget *pWidget)
{
    const int ring = qMax(LookColours::focusRing().width, ToolbarScale::px(pWidget, 2));
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(Qt::NoBrush);
    const QColor edge = edgeColour();
    // Each rectangle is drawn 1 px wide, from the outer edge inwards.
    QRect r = rect.adjusted(0, 0, -1, -1);
    painter.setPen(QPen(edge, 1));
    painter.drawRect(r);
    painter.setPen(QPen(colour(), 1));
    for (int i = 0; i < ring; ++i) {
        r.adjust(1, 1, -1, -1);
        painter.drawRect(r);
    }
    painter.setPen(QPen(edge, 1));
    painter.drawRect(r.adjusted(1, 1, -1, -1));
    painter.restore();
}
