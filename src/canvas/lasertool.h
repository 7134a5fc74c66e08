#pragma once

#include "tool.h"

#include <QPointer>

// Points without drawing: a bright dot follows the pointer with a short
// fading trail (painted by the presenter kit with the rest of its
// animations). Clicks add nothing to the page or its undo history.
class LaserTool : public Tool
{
public:
    void mousePress(MainView *view, const QPointF &pt, QInputEvent *event) override;
    void mouseMove(MainView *view, const QPointF &pt, QInputEvent *event) override;
    void mouseRelease(MainView *view, const QPointF &pt, QInputEvent *event) override;
    void mouseDoubleClick(MainView *view, const QPointF &pt, QInputEvent *event) override;
    void reset() override;

private:
    QPointer<MainView> shownOn;
};
