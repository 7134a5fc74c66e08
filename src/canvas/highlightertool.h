#pragma once

#include "document/objstroke.h"
#include "tool.h"

// Translucent strokes. Painting overlapping pieces into the layer would
// darken where they cross, so the stroke grows as a preview and reaches the
// layer once, at release.
class HighlighterTool : public Tool
{
public:
    HighlighterTool();

    void mousePress(MainView *view, const QPointF &pt, QInputEvent *event) override;
    void mouseMove(MainView *view, const QPointF &pt, QInputEvent *event) override;
    void mouseRelease(MainView *view, const QPointF &pt, QInputEvent *event) override;
    void mouseDoubleClick(MainView *view, const QPointF &pt, QInputEvent *event) override;
    void paint(QPainter *painter, const QRegion &dirty) override;

    ObjStroke strokeTemplate;

private:
    void extendTo(MainView *view, const QPointF &pt);
    void keep(MainView *view);

    bool moved = false;
};
