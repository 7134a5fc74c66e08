#pragma once

#include "objimage.h"
#include "safeimagereader.h"

#include <QImage>

#include <memory>

class QSvgRenderer;

// An inserted SVG picture, drawn into `rect` and never outside it. It is
// rendered once at the size it is shown at and repainted from that picture:
// a complex document would otherwise cost its full rendering at every repaint.
class ImageSVG : public ObjImage
{
public:
    // Files past these limits are refused: the renderer reads a file whole,
    // and a picture claiming an absurd size is not one the user can place.
    static constexpr qint64 MaxFileBytes = SafeImageReader::MaxSvgFileBytes;
    static constexpr int MaxSide = 16384;
    // The rendered picture is kept below this many pixels; larger displays
    // draw it enlarged.
    static constexpr qint64 MaxCachePixels = 4096LL * 4096;

    ImageSVG();
    explicit ImageSVG(const QRectF &r);
    ~ImageSVG() override;

    // Null when unusable. Shared with the other objects showing the same
    // file (see SharedPictures): its embedded pictures are decoded once.
    std::shared_ptr<QSvgRenderer> renderer;

    // Keeps the top-left of `rect`, takes the picture's default size (0 x 0
    // for a file that is missing, invalid or refused, see SafeImageReader)
    // and turns about the picture's own centre.
    void load(const QString &path) override;
    void release() override;

    void paint(QPainter *p) override;
    Obj *clone() const override;

    // The pixel size the picture is rendered at for a painter with transform t.
    static QSize cacheSize(const QTransform &t, const QSizeF &size);

private:
    const QImage &rendered(const QSize &size);

    QImage cache;
};
