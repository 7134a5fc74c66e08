#pragma once

#include "tool.h"

// Pans a page that overflows the window with the right button: the page
// point pressed stays under the pointer, as far as the page reaches.
class DragTool : public Tool
{
protected:
    bool begins(const Input &input) const override;
    void move(ToolHost *host, const Input &input) override;
};
