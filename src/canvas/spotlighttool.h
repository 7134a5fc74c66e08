#pragma once

#include "spotlightshade.h"
#include "tool.h"

#include <QRect>

// Darkens the whole canvas but a circle around the pointer; the wheel makes
// the circle larger or smaller. Over a live desktop it darkens the desktop.
// Moves are repainted once a frame, where the old and new circle differ.
class SpotlightTool : public Tool
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
    // Every button moves the circle.
    bool begins(const Input &input) const override;
    void begin(ToolHost *host, const Input &input) override;
    void move(ToolHost *host, const Input &input) override;
    void end(ToolHost *host, const Input &input) override;
    void hover(ToolHost *host, const Input &input) override;

private:
    void follow(ToolHost *host, const QPointF &pt);
    // Repaints follow on the presenter kit's next frame.
    void repaintSoon(ToolHost *host);

    SpotlightShade shade;
    HostPointer shownOn;
    bool aimed = false;
};
