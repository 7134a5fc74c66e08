#pragma once

#include <QColor>
#include <QImage>
#include <QLineF>
#include <QList>
#include <QPainterPath>
#include <QPointF>
#include <QRectF>
#include <QString>

class Obj;

// Everything that defines how one object looks, copied out of it so that the
// copy can be read on another thread while the page goes on changing. Paths,
// lists and strings are shared with the object, so taking one is cheap.
struct ObjectRecord
{
    int kind = 0;
    QRectF rect;
    float angle = 0;
    QPointF centre;
    int width = 0;
    QColor colour;
    int opacity = 100;
    int shadow = 0;
    bool resizable = true;

    int variant = 0; // stroke kind or shape type
    QPainterPath path;
    QList<float> pressures;
    QList<QPointF> points;
    QLineF line;
    int startCap = 0;
    int endCap = 0;
    int penStyle = 0;
    QColor fill;
    QString font; // QFont::toString(): a font is costly to make and copy
    int alignment = 0;
    QString html;
    double textWidth = -1;
    double margin = 0;
    QString file; // a picture's file
    QImage image; // the pixels of a moved piece of the layer

    static ObjectRecord of(const Obj *obj);
    // A new object from the record; a picture is loaded from `pictureFile`.
    Obj *create(const QString &pictureFile) const;
    bool isPicture() const;
};
