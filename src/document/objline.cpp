#include "objline.h"

#include "pixelround.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

ObjLine::ObjLine()
{
    kind = KindLine;
}

double ObjLine::direction() const
{
    const double dx = line.x2() - line.x1(), dy = line.y2() - line.y1();
    // Rounding can push the cosine a hair past 1, where acos gives NaN and
    // the arrowheads would vanish.
    double a = std::acos(std::clamp(dx / std::sqrt(dx * dx + dy * dy), -1.0, 1.0));
    if (dy >= 0)
        a = 2 * M_PI - a;
    return a;
}

void ObjLine::paint(QPainter *p)
{
    if (std::fabs(line.x1() - line.x2()) <= 1e-12 && std::fabs(line.y1() - line.y2()) <= 1e-12)
        return;
    p->save();
    p->setRenderHint(QPainter::Antialiasing, true);
    const double a = direction();
    if (shadow) {
        p->translate(1.0, 1.0);
        drawLineAndCaps(p, QColor(0, 0, 0, 128), a);
        p->translate(-1.0, -1.0);
    }
    drawLineAndCaps(p, colour, a);
    p->restore();
}

void ObjLine::drawLineAndCaps(QPainter *p, const QColor &c, double a) const
{
    p->setPen(QPen(c, width, Qt::PenStyle(penStyle), Qt::FlatCap, Qt::RoundJoin));
    p->setBrush(c);
    p->drawLine(line);
    drawCap(p, c, startCap, line.p1(), -1, a);
    drawCap(p, c, endCap, line.p2(), +1, a);
}

void ObjLine::drawCap(QPainter *p, const QColor &c, int cap, const QPointF &P, int dir,
                      double a) const
{
    const int w0 = std::max(width, 3);
    p->save();
    switch (cap) {
    case RoundCap:
    case Dot: {
        const double r = cap == RoundCap ? w0 / 2 - 1 : w0;
        p->setPen(QPen(c, 0, Qt::SolidLine, Qt::RoundCap, Qt::MiterJoin));
        p->setBrush(c);
        p->drawEllipse(QRectF(P - QPointF(r, r), P + QPointF(r, r)));
        break;
    }
    case FilledArrow:
        p->setPen(QPen(c, w0 + 1, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
        p->setBrush(c);
        drawArrow(p, P, dir, a, w0 + 1, true);
        break;
    case OpenArrow:
        p->setPen(QPen(c, width, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
        p->setBrush(Qt::NoBrush);
        drawArrow(p, P, dir, a, 3 * (w0 + 1), false);
        break;
    case Square:
        p->setRenderHint(QPainter::Antialiasing, false);
        p->setPen(QPen(c, 0, Qt::SolidLine, Qt::RoundCap, Qt::MiterJoin));
        p->setBrush(c);
        p->drawRect(QRectF(P - QPointF(w0, w0), P + QPointF(w0, w0)));
        break;
    default:
        break;
    }
    p->restore();
}

// The two sides leave the tip at 60 degrees to each other, opening back along
// the line.
void ObjLine::drawArrow(QPainter *p, const QPointF &P, int dir, double a, double length,
                        bool closed) const
{
    const double a1 = dir * -1.0471975511965976 + a;
    const double a2 = dir * -2.0943951023931957 + a;
    const QPointF A(P.x() + std::sin(a1) * length, P.y() + std::cos(a1) * length);
    const QPointF B(P.x() + std::sin(a2) * length, P.y() + std::cos(a2) * length);
    QPainterPath path(A);
    path.lineTo(P);
    path.lineTo(B);
    if (closed)
        path.lineTo(A);
    p->drawPath(path);
}

static int capMargin(int cap, int width)
{
    switch (cap) {
    case ObjLine::OpenArrow:
        return width + 80;
    case ObjLine::FilledArrow:
        return width + 30;
    case ObjLine::Dot:
    case ObjLine::Square:
        return width + 2;
    default:
        return width / 2 + 2;
    }
}

QRect ObjLine::paintRect() const
{
    const int m = std::max(capMargin(startCap, width), capMargin(endCap, width));
    const QRect r = PixelRound::rect(QRectF(line.p1(), line.p2()).normalized());
    return QRect(QPoint(r.x() - m - 1, r.y() - m - 1),
                 QPoint(r.x() + r.width() + m, r.y() + r.height() + m));
}

Obj *ObjLine::clone() const
{
    ObjLine *copy = new ObjLine;
    copyTo(copy);
    copy->line = line;
    copy->startCap = startCap;
    copy->endCap = endCap;
    copy->penStyle = penStyle;
    return copy;
}
