#pragma once

#include "document/objline.h"
#include "document/objstroke.h"
#include "tool.h"

#include <QPainterPath>

// Freehand strokes, smoothed through midpoints and painted piece by piece
// straight into the layer; with Ctrl, straight segments shown as a preview
// until release (with the right button, ending in an arrow). A stylus draws
// a pressure brush instead of a round pen.
class PenTool : public Tool
{
public:
    PenTool();

    void mouseDoubleClick(ToolHost *host, const QPointF &pt, QInputEvent *event) override;
    void paint(QPainter *painter, const QRegion &dirty) override;

    // The canvas area a piece of `width` within `bounds` can touch. The
    // highlighter and the eraser repaint their segments with it too.
    static QRect pieceRect(const QRectF &bounds, int width);

    // The settings; the gesture fills in the geometry. Both keep the same
    // width and colour.
    ObjStroke strokeTemplate;
    ObjLine lineTemplate;

protected:
    bool begins(const Input &input) const override;
    void begin(ToolHost *host, const Input &input) override;
    void move(ToolHost *host, const Input &input) override;
    void end(ToolHost *host, const Input &input) override;
    void cancel(ToolHost *host) override;
    void hover(ToolHost *host, const Input &input) override;

private:
    void beginFreehand(const Input &input);
    void moveStraight(ToolHost *host, const Input &input);
    // Appends the piece ending at the midpoint towards the input's point,
    // paints it into the layer and repaints only its area.
    void appendPiece(ToolHost *host, const Input &input);
    void paintPiece(ToolHost *host, const QPointF &mid, float pressure);
    void finishStraight(ToolHost *host);
    void keep(ToolHost *host, Obj *obj);
    void continueStroke(ToolHost *host);

    QPointF previous; // the last point kept in the stroke
    QPointF lastMid; // where the last painted piece ended
    QPainterPath piece;
    float lastStampDiameter = -1;
    QRect inked; // the layer area the gesture's pieces have painted
};
