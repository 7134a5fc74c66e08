#pragma once

#include "tool.h"

// Points without drawing: a bright dot follows the pointer with a short
// fading trail (painted by the presenter kit with the rest of its
// animations). Clicks add nothing to the page or its undo history.
class LaserTool : public Tool
{
public:
    void mouseDoubleClick(ToolHost *host, const QPointF &pt, QInputEvent *event) override;
    void reset() override;

protected:
    // Every button points.
    bool begins(const Input &input) const override;
    void begin(ToolHost *host, const Input &input) override;
    void move(ToolHost *host, const Input &input) override;
    void end(ToolHost *host, const Input &input) override;
    void hover(ToolHost *host, const Input &input) override;

private:
    void pointAt(ToolHost *host, const QPointF &pt);

    HostPointer shownOn;
};
