#pragma once

#include "obj.h"

#include <QList>
#include <QPainterPath>

// A freehand mark: a round pen, a highlighter (a nib a quarter as wide as it
// is tall, at 40 % opacity) or a pressure brush whose width follows the
// pressure from sample to sample.
class ObjStroke : public Obj
{
public:
    enum StrokeKind { Pen = 1, Highlighter = 2, Brush = 3 };

    ObjStroke();

    // The first path element with a pressure of a brush stroke.
    static constexpr int BrushFirstElement = 2;

    int strokeKind = Pen;
    QPainterPath path;
    // Brush only: the pressure (0 to 1) of each element after the first.
    QList<float> pressures;

    void paint(QPainter *p) override;
    QRect paintRect() const override;
    Obj *clone() const override;
    // Brush only: the piece from p1 to p2, carrying the last sample's width in
    // `last` (-1 before the first). The pen tool draws live pieces with it.
    void paintBrushSegment(QPainter *p, const QPointF &p1, const QPointF &p2, float pressure,
                           float &last) const;

private:
    void paintPen(QPainter *p) const;
    void paintHighlighter(QPainter *p) const;
    void paintBrush(QPainter *p) const;
};
