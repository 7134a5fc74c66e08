#pragma once

#include "spotlightshade.h"
#include "tool.h"

#include <QPointer>
#include <QRect>

// Darkens the whole canvas but a circle around the pointer; the wheel makes
// the circle larger or smaller. Over a live desktop it darkens the desktop.
// Moves are repainted once a frame, where the old and new circle differ.
class SpotlightTool : public Tool
{
public:
    void mousePress(MainView *view, const QPointF &pt, QInputEvent *event) override;
    void mouseMove(MainView *view, const QPointF &pt, QInputEvent *event) override;
    void mouseRelease(MainView *view, const QPointF &pt, QInputEvent *event) override;
    bool wheel(MainView *view, QWheelEvent *event) override;
    void paint(QPainter *painter, const QRegion &dirty) override;
    void reset() override;

    // Centres the circle on `pt` and shows the darkness over all of `view`.
    void aim(MainView *view, const QPointF &pt);
    QPointF centre() const;
    int radius() const;

private:
    SpotlightShade shade;
    // Repaints follow on the presenter kit's next frame.
    void follow(MainView *view);

    QPointer<MainView> shownOn;
    bool aimed = false;
};
