#pragma once

#include "tool.h"

// Pans a page larger than the main window with the right button, never
// opening a gap between the page's edge and the window's edge.
class DragTool : public Tool
{
protected:
    bool begins(const Input &input) const override;
    void move(ToolHost *host, const Input &input) override;
};
