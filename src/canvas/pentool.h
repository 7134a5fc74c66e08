#pragma once

#include "document/objline.h"
#include "document/objstroke.h"
#include "tool.h"

#include <QPainterPath>

// Freehand strokes, smoothed through midpoints and painted piece by piece
// straight into the layer; with Ctrl, straight segments shown as a preview
// until release. A stylus draws a pressure brush instead of a round pen.
class PenTool : public Tool
{
public:
    PenTool();

    void mousePress(MainView *view, const QPointF &pt, QInputEvent *event) override;
    void mouseMove(MainView *view, const QPointF &pt, QInputEvent *event) override;
    void mouseRelease(MainView *view, const QPointF &pt, QInputEvent *event) override;
    void mouseDoubleClick(MainView *view, const QPointF &pt, QInputEvent *event) override;
    void paint(QPainter *painter, const QRegion &dirty) override;

    // The canvas area a piece of `width` within `bounds` can touch. The
    // highlighter and the eraser repaint their segments with it too.
    static QRect pieceRect(const QRectF &bounds, int width);

    // The settings; the gesture fills in the geometry. Both keep the same
    // width and colour.
    ObjStroke strokeTemplate;
    ObjLine lineTemplate;

private:
    void pressFreehand(const QPointF &pt, QInputEvent *event);
    void pressStraight(QInputEvent *event);
    void moveStraight(MainView *view, const QPointF &pt, QInputEvent *event);
    // Appends the piece ending at the midpoint towards `pt`, paints it into
    // the layer and repaints only its area.
    void appendPiece(MainView *view, const QPointF &pt, QInputEvent *event);
    void paintPiece(QPainter &painter, const QPointF &mid, float pressure);
    void finishStraight(MainView *view);
    void keep(MainView *view, Obj *obj);
    void continueStroke(MainView *view);

    QPointF previous; // the last point kept in the stroke
    QPointF lastMid; // where the last painted piece ended
    QPainterPath piece;
    bool drawn = false; // a freehand stroke is under way
    float lastStampDiameter = -1;
};
