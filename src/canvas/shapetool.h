#pragma once

#include "document/objshape.h"
#include "tool.h"

// Figures dragged out from a corner, or from the centre with Ctrl; Shift
// makes the drag square. A preview follows the pointer and the figure
// reaches the layer at release.
class ShapeTool : public Tool
{
public:
    ShapeTool();

    void mousePress(MainView *view, const QPointF &pt, QInputEvent *event) override;
    void mouseMove(MainView *view, const QPointF &pt, QInputEvent *event) override;
    void mouseRelease(MainView *view, const QPointF &pt, QInputEvent *event) override;
    void mouseDoubleClick(MainView *view, const QPointF &pt, QInputEvent *event) override;
    void paint(QPainter *painter, const QRegion &dirty) override;

    ObjShape shapeTemplate;
    int popupIndex = 0;

private:
    // Fits the template between the press point and `pt` and returns the
    // point actually used, which Shift moves onto the diagonal.
    QPointF fitTo(MainView *view, const QPointF &pt, QInputEvent *event);
    void paintCentreMark(QPainter *painter) const;
};
