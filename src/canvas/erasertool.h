#pragma once

#include "document/objeraser.h"
#include "tool.h"

// Clears layer pixels piece by piece as the pointer moves; the segments are
// kept in an eraser object so that undo brings the pixels back.
class EraserTool : public Tool
{
public:
    EraserTool();

    void mousePress(MainView *view, const QPointF &pt, QInputEvent *event) override;
    void mouseMove(MainView *view, const QPointF &pt, QInputEvent *event) override;
    void mouseRelease(MainView *view, const QPointF &pt, QInputEvent *event) override;
    void mouseDoubleClick(MainView *view, const QPointF &pt, QInputEvent *event) override;
    // A ring around the pointer shows what the eraser covers.
    void paint(QPainter *painter, const QRegion &dirty) override;

    ObjEraser eraserTemplate;

private:
    void eraseTo(MainView *view, const QPointF &pt);
    QRect ringRect(const QPointF &pt) const;

    bool moved = false;
};
