#include "arrowstep.h"

#include <QKeyEvent>

namespace {

QPoint arrowOffset(const QKeyEvent *pEvent)
{
    const int step = (pEvent->modifiers() & Qt::ShiftModifier) ? 10 : 1;
    switch (pEvent->key()) {
    case Qt::Key_Left:
        return QPoint(-step, 0);
    case Qt::Key_Right:
        return QPoint(step, 0);
    case Qt::Key_Up:
        return QPoint(0, -step);
    case Qt::Key_Down:
        return QPoint(0, step);
    default:
        return QPoint();
    }
}

bool withCtrl(const QKeyEvent *pEvent)
{
    return pEvent->modifiers() & Qt::ControlModifier;
}

} // namespace

QPoint ArrowStep(const QKeyEvent *pEvent)
{
    return withCtrl(pEvent) ? QPoint() : arrowOffset(pEvent);
}

QPoint ArrowResize(const QKeyEvent *pEvent)
{
    return withCtrl(pEvent) ? arrowOffset(pEvent) : QPoint();
}
