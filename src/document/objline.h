#pragma once

#include "obj.h"

#include <QLineF>

// A straight segment with a pen style, an optional drop shadow and a cap at
// each end.
class ObjLine : public Obj
{
public:
    enum Cap { NoCap = 0, RoundCap = 1, FilledArrow = 2, OpenArrow = 3, Dot = 4, Square = 5 };

    ObjLine();

    QLineF line;
    int startCap = NoCap;
    int endCap = NoCap;
    int penStyle = Qt::SolidLine;

    void paint(QPainter *p) override;
    QRect paintRect() const override;
    Obj *clone() const override;

    // `dir` is -1 at the start point and +1 at the end point; `a` is the
    // direction of the line in radians, as computed by paint.
    void drawCap(QPainter *p, const QColor &c, int cap, const QPointF &P, int dir, double a) const;

private:
    double direction() const;
    void drawLineAndCaps(QPainter *p, const QColor &c, double a) const;
    void drawArrow(QPainter *p, const QPointF &P, int dir, double a, double length,
                   bool closed) const;
};
