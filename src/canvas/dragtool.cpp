#include "dragtool.h"

bool DragTool::begins(const Input &input) const
{
    return input.buttons == Qt::RightButton;
}

void DragTool::move(ToolHost *host, const Input &input)
{
    host->panBy((input.point - gesture().pressPoint) * host->transform().scale());
}
