#pragma once

#include "objimage.h"

class QSvgRenderer;

// An inserted SVG picture, rendered as vectors into `rect` and never outside it.
class ImageSVG : public ObjImage
{
public:
    // Files past these limits are refused: the renderer reads a file whole,
    // and a picture claiming an absurd size is not one the user can place.
    static constexpr qint64 MaxFileBytes = 32LL * 1024 * 1024;
    static constexpr int MaxSide = 16384;

    ImageSVG();
    explicit ImageSVG(const QRectF &r);
    ~ImageSVG() override;

    QSvgRenderer *renderer = nullptr; // child of this object; null when unusable

    // Keeps the top-left of `rect`, takes the picture's default size (0 x 0
    // for a file that is missing, invalid or refused) and turns about the
    // picture's own centre.
    void load(const QString &path) override;
    void release() override;

    void paint(QPainter *p) override;
    Obj *clone() const override;
};
