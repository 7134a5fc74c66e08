#include "dragtool.h"

#include <algorithm>

namespace {
// The canvas's new position along one axis; the canvas moves under the
// pointer, so the offset from the press point is the distance still to go.
int pannedPosition(int pos, int viewSize, int windowSize, double offset)
{
    const int moved = pos + qRound(offset);
    return moved >= 1 ? 0 : std::max(moved, windowSize - viewSize);
}
} // namespace

bool DragTool::begins(const Input &input) const
{
    return input.buttons == Qt::RightButton;
}

void DragTool::move(ToolHost *host, const Input &input)
{
    const QSize window = host->windowSize();
    if (!window.isValid())
        return;
    const QRect shown = host->placement();
    const QPointF offset = input.point - gesture().pressPoint;
    QPoint pos = shown.topLeft();
    if (shown.width() > window.width())
        pos.setX(pannedPosition(pos.x(), shown.width(), window.width(), offset.x()));
    if (shown.height() > window.height())
        pos.setY(pannedPosition(pos.y(), shown.height(), window.height(), offset.y()));
    if (pos != shown.topLeft())
        host->place(pos);
}
