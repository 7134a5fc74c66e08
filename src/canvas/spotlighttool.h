#pragma once

#include "pointingtool.h"
#include "spotlightshade.h"

#include <QRect>

// Darkens the whole canvas but a circle around the pointer; the wheel makes
// the circle larger or smaller. Over a live desktop it darkens the desktop.
// Moves are repainted once a frame, where the old and new circle differ.
class SpotlightTool : public PointingTool
{
public:
    bool wheel(ToolHost *host, QWheelEvent *event) override;
    void paint(QPainter *painter, const QRegion &dirty) override;
    void reset() override;

    // Centres the circle on `pt` and shows the darkness over all of `host`.
    void aim(ToolHost *host, const QPointF &pt);
    QPointF centre() const;
    int radius() const;

protected:
    // Moves the circle to the pointer.
    void pointAt(ToolHost *host, const QPointF &pt) override;

private:
    // Repaints follow on the presenter kit's next frame.
    void repaintSoon(ToolHost *host);

    SpotlightShade shade;
    HostPointer shownOn;
    bool aimed = false;
};
