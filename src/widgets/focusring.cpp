#include "focusring.h"

#include "toolbarscale.h"

#include <QPainter>
#include <QPalette>
#include <QWidget>

QColor FocusRing::colour(const QWidget *pWidget)
{
    return pWidget->palette().color(QPalette::Highlight);
}

QColor FocusRing::edgeColour(const QWidget *pWidget)
{
    return colour(pWidget).lightness() > 127 ? Qt::black : Qt::white;
}

void FocusRing::paint(QPainter &painter, const QRect &rect, const QWidget *pWidget)
{
    const int ring = qMax(2, ToolbarScale::px(pWidget, 2));
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(Qt::NoBrush);
    const QColor edge = edgeColour(pWidget);
    // Each rectangle is drawn 1 px wide, from the outer edge inwards.
    QRect r = rect.adjusted(0, 0, -1, -1);
    painter.setPen(QPen(edge, 1));
    painter.drawRect(r);
    painter.setPen(QPen(colour(pWidget), 1));
    for (int i = 0; i < ring; ++i) {
        r.adjust(1, 1, -1, -1);
        painter.drawRect(r);
    }
    painter.setPen(QPen(edge, 1));
    painter.drawRect(r.adjusted(1, 1, -1, -1));
    painter.restore();
}
