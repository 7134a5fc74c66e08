#pragma once

#include "tool.h"

// Pans a page larger than the main window with the right button, never
// opening a gap between the page's edge and the window's edge.
class DragTool : public Tool
{
public:
    void mouseMove(MainView *view, const QPointF &pt, QInputEvent *event) override;
};
