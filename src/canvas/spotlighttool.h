#pragma once

#include "tool.h"

#include <QPointer>
#include <QRect>

// Darkens the whole canvas but a circle around the pointer; the wheel makes
// the circle larger or smaller. Over a live desktop it darkens the desktop.
// A move repaints only the circle's old and new squares.
class SpotlightTool : public Tool
{
public:
    void mousePress(MainView *view, const QPointF &pt, QInputEvent *event) override;
    void mouseMove(MainView *view, const QPointF &pt, QInputEvent *event) override;
    void mouseRelease(MainView *view, const QPointF &pt, QInputEvent *event) override;
    bool wheel(MainView *view, QWheelEvent *event) override;
    void paint(QPainter *painter) override;
    void reset() override;

    // Centres the circle on `pt` and shows the darkness over all of `view`.
    void aim(MainView *view, const QPointF &pt);
    QPointF centre() const { return middle; }
    int radius() const;
    // The square the circle and its soft edge take.
    QRect circleRect() const;

private:
    QPointer<MainView> shownOn;
    QPointF middle;
    bool aimed = false;
};
