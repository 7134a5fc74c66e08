#pragma once

#include "obj.h"

#include <QPainterPath>

class QImage;

// A piece of the layer moved elsewhere: clears the area it was taken from and
// draws the copied pixels at `rect`. As an ordinary layer object it affects
// only what lies before it in the painting order.
class ObjSelect : public Obj
{
public:
    ObjSelect();
    ~ObjSelect() override;

    QPainterPath path; // where the pixels were taken from; fixed once made
    QImage *image = nullptr; // owned

    // Takes ownership of `img` and deletes the previous image.
    void setImage(QImage *img);
    // Empties path and deletes the image.
    void clear();

    void paint(QPainter *p) override;
    QRect paintRect() const override;
    Obj *clone() const override;
};
