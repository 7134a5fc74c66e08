#pragma once

#include "obj.h"

#include <QList>

// Erasing as an object: segments painted so that they clear the layer pixels
// of everything before the eraser in the painting order. Undoing the eraser
// brings those pixels back.
class ObjEraser : public Obj
{
public:
    ObjEraser();

    // Read in pairs, one erased segment per pair.
    QList<QPointF> points;

    void appendSegment(const QPointF &a, const QPointF &b);

    void paint(QPainter *p) override;
    QRect paintRect() const override;
    Obj *clone() const override;
};
