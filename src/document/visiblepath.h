#pragma once

#include <QPainterPath>
#include <QRectF>

class QPainter;

// Repainting a small dirty rectangle of the layer must not cost a full stroke
// of every long path crossing it: the painter strokes a whole path before it
// clips. These helpers keep only the pieces that can reach the clip.
namespace VisiblePath {

// The painter's clip in its own coordinates, grown by `pad` on every side;
// a null rectangle when the painter does not clip.
QRectF clipArea(const QPainter *p, qreal pad);

// The segments of `path` whose control points' bounds intersect `area`, as
// subpaths of one path, so that a translucent pen still covers each pixel
// once. `area` must already be grown by half the pen width or more: pieces
// cut off then lie wholly outside the clip, and the round caps added at the
// cuts lie inside the joins the whole path would have had.
QPainterPath clipped(const QPainterPath &path, const QRectF &area);

// `path` itself when nothing is clipped or it lies wholly inside the clip.
QPainterPath forPainter(const QPainter *p, const QPainterPath &path, qreal pad);

} // namespace VisiblePath
