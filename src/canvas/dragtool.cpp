#include "dragtool.h"

#include "mainview.h"

#include <algorithm>

namespace {
// The view's new position along one axis; the view moves under the pointer,
// so the offset from the press point is the distance still to go.
int pannedPosition(int pos, int viewSize, int windowSize, double offset)
{
    const int moved = pos + qRound(offset);
    return moved >= 1 ? 0 : std::max(moved, windowSize - viewSize);
}
} // namespace

void DragTool::mouseMove(MainView *view, const QPointF &pt, QInputEvent *event)
{
    const QWidget *window = view->parentWidget();
    if (window) {
        const QPointF offset = pt - gesture().pressPoint;
        QPoint pos = view->pos();
        if (view->width() > window->width())
            pos.setX(pannedPosition(pos.x(), view->width(), window->width(), offset.x()));
        if (view->height() > window->height())
            pos.setY(pannedPosition(pos.y(), view->height(), window->height(), offset.y()));
        if (pos != view->pos())
            view->move(pos);
    }
    Tool::mouseMove(view, pt, event);
}
