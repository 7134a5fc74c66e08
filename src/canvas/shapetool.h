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

    void mouseDoubleClick(ToolHost *host, const QPointF &pt, QInputEvent *event) override;
    void paint(QPainter *painter, const QRegion &dirty) override;

    ObjShape shapeTemplate;
    int popupIndex = 0;

protected:
    void begin(ToolHost *host, const Input &input) override;
    void move(ToolHost *host, const Input &input) override;
    void end(ToolHost *host, const Input &input) override;
    void cancel(ToolHost *host) override;
    void hover(ToolHost *host, const Input &input) override;

private:
    // Fits the template between the press point and the input's point and
    // returns the point actually used, which Shift moves onto the diagonal.
    QPointF fitTo(ToolHost *host, const Input &input);
    void paintCentreMark(QPainter *painter) const;

    bool centred = false; // Ctrl held at the latest move
};
