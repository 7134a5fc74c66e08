#pragma once

#include "viewtransform.h"

#include <QImage>

#include <functional>

class MainPage;
class QPainter;

// The page's layer objects rendered for the part of the page the canvas
// shows, at the canvas's transform and in the screen's device pixels: at any
// zoom the ink stays as sharp as the screen can show it, where a scaled copy
// of the page's own layer would blur.
class ZoomLayer
{
public:
    // Whether it shows the page through `shown` on a canvas of `viewSize`.
    bool matches(const ViewTransform &shown, const QSize &viewSize, qreal ratio) const;
    bool isValid() const { return !image.isNull(); }
    const QImage &picture() const { return image; }

    // Renders the whole canvas anew.
    void render(const MainPage *page, const ViewTransform &shown, const QSize &viewSize,
                qreal ratio);
    // Renders `viewRect` (the canvas's pixels) anew from the page's objects.
    void update(const MainPage *page, const QRect &viewRect);
    // Follows a pan of the same scale by moving the pixels already rendered,
    // rendering only the strips uncovered; false where it cannot (another
    // scale or size, or a move of a fraction of a device pixel).
    bool follow(const MainPage *page, const ViewTransform &shown, const QSize &viewSize,
                qreal ratio);
    // Paints with `paint` in page pixels, as a tool paints into the page's
    // own layer.
    void paint(const std::function<void(QPainter &)> &paint);
    void drop() { image = QImage(); }

private:
    void renderRect(const MainPage *page, const QRect &viewRect);

    QImage image;
    ViewTransform transform;
};
