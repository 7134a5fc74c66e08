#pragma once

#include "tool.h"

// A presenter's tool that only points: every button, and the pointer moving
// without one, just moves what it shows to the pointer.
class PointingTool : public Tool
{
protected:
    virtual void pointAt(ToolHost *host, const QPointF &pt) = 0;

    bool begins(const Input &) const override { return true; }
    void begin(ToolHost *host, const Input &input) override { pointAt(host, input.point); }
    void move(ToolHost *host, const Input &input) override { pointAt(host, input.point); }
    void end(ToolHost *host, const Input &input) override { pointAt(host, input.point); }
    void hover(ToolHost *host, const Input &input) override { pointAt(host, input.point); }
};
