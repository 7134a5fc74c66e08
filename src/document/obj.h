#pragma once

#include <QColor>
#include <QCursor>
#include <QObject>
#include <QPointF>
#include <QRectF>
#include <QSize>

class PageHost;
class QPainter;

enum ObjectKind : int {
    KindNone = 0,
    KindSelect = 1,
    KindStroke = 2,
    KindEraser = 3,
    KindLine = 4,
    KindShape = 5,
    KindText = 6,
    KindImageStatic = 7,
    KindImageSVG = 8,
};

// Base of everything drawn on a page. Layer objects (kinds 1 to 6) are painted
// into the page's layer image and never rotate; floating objects (kinds 7 and
// 8) are painted beneath the layer and are the only ones that can be hit,
// moved, resized, rotated and deleted through the nine frame handles.
//
// Objects have no parent: each belongs to the AddCommand that added it, or to
// the page that received it with a page copy.
class Obj : public QObject
{
public:
    Obj();
    explicit Obj(const QRectF &r);

    int kind = KindNone;
    QRectF rect; // before rotation; may be inverted while a handle is dragged
    float angle = 0; // degrees about centre, clockwise on screen
    QPointF centre;
    int width = 5;
    QColor colour = Qt::black;
    int opacity = 100; // percent
    int shadow = 0;
    bool resizable = true;

    bool isFloating() const { return kind == KindImageStatic || kind == KindImageSVG; }

    // The base only applies the rotation to `p`; images call it first.
    virtual void paint(QPainter *p);
    void paintFrame(QPainter *p) const;
    void update(PageHost *host) const;
    virtual QRect paintRect() const;
    virtual int hitTest(const QPointF &pt, bool handles) const;
    QCursor handleCursor(int handle) const;
    QPointF handlePos(int handle) const;
    QRectF handleRect(int handle) const;
    QRectF rotatedRect() const;
    void updateFrame(PageHost *host) const;
    QRectF frameRect() const;
    void dragHandle(int handle, const QPointF &pt, bool freeAspect);
    void moveBy(const QPointF &d);
    // Keeps the object reachable on a page of `pageSize` (invalid: no page,
    // no limit) and returns the offset applied, so that undo can take it back.
    QPointF moveByClamped(const QPointF &d, const QSize &pageSize);
    void normalize();
    void rotateTo(const QPointF &pt);
    virtual Obj *clone() const;
    virtual void setAngle(float a);

    QPointF mapToRotated(const QPointF &pt) const;
    QPointF mapFromRotated(const QPointF &pt) const;
    void recentre();
    void copyTo(Obj *dst) const;

    static float snapAngle(float a);

private:
    QPointF rotated(const QPointF &pt, float degrees) const;
};
