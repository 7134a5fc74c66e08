#include "obj.h"

#include "app/appstate.h"
#include "pagehost.h"
#include "pixelround.h"

#include <QImage>
#include <QPainter>

#include <cmath>

static const QImage &menuPicture()
{
    static const QImage picture(AppState::instance().wantsHighResPictures()
                                    ? QStringLiteral(":/Res/ObjMenu@2x")
                                    : QStringLiteral(":/Res/ObjMenu"),
                                "PNG");
    return picture;
}

Obj::Obj() = default;

Obj::Obj(const QRectF &r)
    : rect(r)
    , centre(r.center())
{
}

void Obj::paint(QPainter *p)
{
    p->translate(centre);
    p->rotate(angle);
    p->translate(-centre);
}

void Obj::paintFrame(QPainter *p) const
{
    p->save();
    p->setRenderHint(QPainter::Antialiasing, true);
    p->setPen(QPen(Qt::black, 1, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    const int corners[] = { 1, 3, 5, 7 };
    for (int i = 0; i < 4; ++i)
        p->drawLine(handleRect(corners[i]).center(), handleRect(corners[(i + 1) % 4]).center());
    p->drawLine(handleRect(9).center(), handlePos(rect.height() > 0 ? 2 : 6));
    p->drawImage(handleRect(3), menuPicture());
    if (resizable) {
        p->setBrush(Qt::white);
        p->drawEllipse(handleRect(5));
    }
    p->setBrush(QColor(26, 211, 176));
    p->drawEllipse(handleRect(9));
    p->restore();
}

void Obj::update(PageHost *host) const
{
    host->repaint(paintRect());
}

QRect Obj::paintRect() const
{
    return PixelRound::rect(rect).adjusted(-3, -3, 3, 3);
}

int Obj::hitTest(const QPointF &pt, bool handles) const
{
    if (!handles || !isFloating())
        return 0;
    if (handleRect(3).contains(pt))
        return 3;
    if (resizable && handleRect(5).contains(pt))
        return 5;
    if (handleRect(9).contains(pt))
        return 9;
    return 0;
}

QCursor Obj::handleCursor(int handle) const
{
    if (handle == 3 || handle == 9)
        return Qt::ArrowCursor;
    if (handle == 1)
        return Qt::SizeAllCursor;
    static const Qt::CursorShape shapes[]
        = { Qt::SizeFDiagCursor, Qt::SizeVerCursor, Qt::SizeBDiagCursor, Qt::SizeHorCursor };
    const float a = angle < 0 ? angle + 360 : angle;
    const int k = int((a + 22.5f) / 45);
    const int i = ((k + handle) % 8 + 8) % 8;
    return shapes[(i + 7) % 8 % 4];
}

QPointF Obj::handlePos(int handle) const
{
    const QRectF r = rect.normalized();
    const float x = r.x(), y = r.y(), w = r.width(), h = r.height();
    const float cx = x + w / 2, cy = y + h / 2;
    QPointF pt;
    switch (handle) {
    case 1:
        pt = QPointF(x, y);
        break;
    case 2:
        pt = QPointF(cx, y);
        break;
    case 3:
        pt = QPointF(x + w, y);
        break;
    case 4:
        pt = QPointF(x + w, cy);
        break;
    case 5:
        pt = QPointF(x + w, y + h);
        break;
    case 6:
        pt = QPointF(cx, y + h);
        break;
    case 7:
        pt = QPointF(x, y + h);
        break;
    case 8:
        pt = QPointF(x, cy);
        break;
    case 9:
        pt = QPointF(cx, std::min(y, y + h) - 32);
        break;
    default:
        break;
    }
    return mapToRotated(pt);
}

QRectF Obj::handleRect(int handle) const
{
    const QPointF pos = handlePos(handle);
    return QRectF(pos.x() - 16, pos.y() - 16, 32, 32);
}

static QRectF boundsOf(std::initializer_list<QPointF> points)
{
    qreal left = points.begin()->x(), right = left;
    qreal top = points.begin()->y(), bottom = top;
    for (const QPointF &pt : points) {
        left = std::min(left, pt.x());
        right = std::max(right, pt.x());
        top = std::min(top, pt.y());
        bottom = std::max(bottom, pt.y());
    }
    return QRectF(QPointF(left, top), QPointF(right, bottom));
}

QRectF Obj::rotatedRect() const
{
    return boundsOf({ handlePos(1), handlePos(3), handlePos(5), handlePos(7) });
}

void Obj::updateFrame(PageHost *host) const
{
    host->repaint(PixelRound::rect(frameRect()));
}

QRectF Obj::frameRect() const
{
    return boundsOf({ handlePos(1), handlePos(3), handlePos(5), handlePos(7), handlePos(9) })
        .adjusted(-32, -32, 32, 32);
}

void Obj::dragHandle(int handle, const QPointF &pt, bool freeAspect)
{
    if (handle == 9) {
        rotateTo(pt);
        return;
    }
    const QPointF q = mapFromRotated(pt);
    switch (handle) {
    case 1:
        rect.setTopLeft(q);
        break;
    case 2:
        rect.setTop(q.y());
        break;
    case 3:
        rect.setWidth(q.x() - rect.x());
        rect.setTop(q.y());
        break;
    case 4:
        rect.setWidth(q.x() - rect.x());
        break;
    case 5: {
        const qreal oldWidth = rect.width();
        rect.setWidth(std::max<qreal>(q.x() - rect.x(), 48));
        if (freeAspect)
            rect.setHeight(std::max<qreal>(q.y() - rect.y(), 48));
        else if (oldWidth != 0) // an empty picture has no ratio to keep
            rect.setHeight(rect.height() * float(rect.width() / oldWidth));
        break;
    }
    case 6:
        rect.setHeight(q.y() - rect.y());
        break;
    case 7:
        rect.setLeft(q.x());
        rect.setHeight(q.y() - rect.y());
        break;
    case 8:
        rect.setLeft(q.x());
        break;
    default:
        break;
    }
}

void Obj::moveBy(const QPointF &d)
{
    rect.translate(d);
    centre = rect.center();
}

QPointF Obj::moveByClamped(const QPointF &d, const QSize &pageSize)
{
    QPointF applied = d;
    if (pageSize.isValid()) {
        const QRectF r = rotatedRect();
        const qreal pageW = pageSize.width(), pageH = pageSize.height();
        if (r.x() + r.width() + d.x() < 24)
            applied.setX(24 - r.x() - std::floor(r.width()));
        if (r.y() + r.height() + d.y() < 24)
            applied.setY(24 - r.y() - std::floor(r.height()));
        if (r.x() + d.x() > pageW - 24)
            applied.setX(std::floor(r.width()) - (r.width() + r.x() - pageW + 24));
        if (r.y() + d.y() > pageH - 24)
            applied.setY(std::floor(r.height()) - (r.height() + r.y() - pageH + 24));
    }
    moveBy(applied);
    return applied;
}

void Obj::normalize()
{
    rect = rect.normalized();
    recentre();
}

void Obj::rotateTo(const QPointF &pt)
{
    const QPointF c = rect.center();
    const float ux = 0, uy = -10;
    const float vx = pt.x() - c.x(), vy = pt.y() - c.y();
    // A pointer on the centre gives 0/0; NaN fails both tests below and reads as 0.
    const float cosine = (ux * vx + uy * vy) / std::sqrt((vx * vx + vy * vy) * (ux * ux + uy * uy));
    float radians = 0;
    if (cosine > -1 && cosine < 1)
        radians = std::acos(cosine);
    else if (cosine <= -1)
        radians = float(M_PI);
    float degrees = radians * 180 / float(M_PI);
    if (pt.x() < c.x())
        degrees = -degrees;
    angle = snapAngle(degrees);
}

Obj *Obj::clone() const
{
    Obj *copy = new Obj;
    copyTo(copy);
    return copy;
}

void Obj::setAngle(float a)
{
    angle = a;
}

QPointF Obj::rotated(const QPointF &pt, float degrees) const
{
    if (std::fabs(degrees) <= 0.00001f)
        return pt;
    const float theta = degrees / 180 * float(M_PI);
    const float cosT = std::cos(theta), sinT = std::sin(theta);
    const qreal dx = pt.x() - centre.x(), dy = pt.y() - centre.y();
    return QPointF(centre.x() + cosT * dx - sinT * dy, centre.y() + cosT * dy + sinT * dx);
}

QPointF Obj::mapToRotated(const QPointF &pt) const
{
    return rotated(pt, angle);
}

QPointF Obj::mapFromRotated(const QPointF &pt) const
{
    return rotated(pt, -angle);
}

void Obj::recentre()
{
    const QPointF c1 = rect.center();
    const QPointF c2 = mapToRotated(c1);
    centre = c2;
    rect.translate(c2 - c1);
}

void Obj::copyTo(Obj *dst) const
{
    dst->kind = kind;
    dst->rect = rect;
    dst->centre = dst->rect.center();
    dst->setAngle(angle);
    dst->centre = centre;
    dst->width = width;
    dst->colour = colour;
    dst->opacity = opacity;
    dst->shadow = shadow;
    dst->resizable = resizable;
}

float Obj::snapAngle(float a)
{
    if (a > -2 && a < 2)
        return 0;
    if (a > 88 && a < 92)
        return 90;
    if (a > 178)
        return -180;
    if (a > -92 && a < -88)
        return -90;
    return a;
}
