#pragma once

#include "objimage.h"

#include <memory>

class QPixmap;

// An inserted raster picture, stretched to `rect`.
class ImageStatic : public ObjImage
{
public:
    ImageStatic();
    explicit ImageStatic(const QRectF &r);
    ~ImageStatic() override;

    QPixmap *pixmap = nullptr; // owned; empty when the file could not be used

    // Keeps the top-left of `rect`, takes the picture's size (0 x 0 for a
    // file that is missing, unreadable, not a picture or too large) and
    // turns about the picture's own centre. The pixels are shared with the
    // other objects showing the same file (see SharedPictures).
    void load(const QString &path) override;
    void release() override;

    void paint(QPainter *p) override;
    Obj *clone() const override;

private:
    std::shared_ptr<const QPixmap> shared;
};
