#pragma once

#include "pointingtool.h"

// Points without drawing: a bright dot follows the pointer with a short
// fading trail (painted by the presenter kit with the rest of its
// animations). Clicks add nothing to the page or its undo history.
class LaserTool : public PointingTool
{
public:
    void mouseDoubleClick(ToolHost *host, const QPointF &pt, QInputEvent *event) override;
    void reset() override;

protected:
    void pointAt(ToolHost *host, const QPointF &pt) override;

private:
    HostPointer shownOn;
};
