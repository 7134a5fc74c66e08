#pragma once

#include "obj.h"

#include <QPainterPath>

// An outlined, optionally filled figure fitted into `rect` (normalised first,
// so the direction of the drag does not matter). The figure is rebuilt from
// the rectangle whenever it is painted or measured.
class ObjShape : public Obj
{
public:
    enum ShapeType {
        Ellipse,
        Rectangle,
        RoundedRectangle,
        Triangle,
        RightTriangle,
        Diamond,
        Pentagon,
        Hexagon,
        Trapezoid,
        Parallelogram,
        Star4,
        Star5,
        Star6,
        RoundedBubble,
        OvalBubble,
        Arrow,
        Tick,
        Cross,
    };

    ObjShape();

    int shapeType = RoundedRectangle;
    int penStyle = Qt::SolidLine;
    QColor fill = Qt::transparent;

    // Adds the figure to `out`; an unknown type adds nothing.
    void buildPath(QPainterPath &out) const;

    void paint(QPainter *p) override;
    QRect paintRect() const override;
    Obj *clone() const override;
};
