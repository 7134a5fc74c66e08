#pragma once

#include "document/objeraser.h"
#include "tool.h"

// Clears layer pixels piece by piece as the pointer moves; the segments are
// kept in an eraser object so that undo brings the pixels back.
class EraserTool : public Tool
{
public:
    EraserTool();

    void mouseDoubleClick(ToolHost *host, const QPointF &pt, QInputEvent *event) override;
    // A ring around the pointer shows what the eraser covers.
    void paint(QPainter *painter, const QRegion &dirty) override;

    ObjEraser eraserTemplate;

protected:
    void begin(ToolHost *host, const Input &input) override;
    void move(ToolHost *host, const Input &input) override;
    void end(ToolHost *host, const Input &input) override;
    void cancel(ToolHost *host) override;
    void hover(ToolHost *host, const Input &input) override;

private:
    void eraseTo(ToolHost *host, const QPointF &pt);
    QRect ringRect(const QPointF &pt) const;

    bool moved = false;
    QRect erased; // the layer area the gesture has cleared
};
