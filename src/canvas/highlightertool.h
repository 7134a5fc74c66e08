#pragma once

#include "document/objstroke.h"
#include "tool.h"

// Translucent strokes. Painting overlapping pieces into the layer would
// darken where they cross, so the stroke grows as a preview and reaches the
// layer once, at release.
class HighlighterTool : public Tool
{
public:
    HighlighterTool();

    void mouseDoubleClick(ToolHost *host, const QPointF &pt, QInputEvent *event) override;
    void paint(QPainter *painter, const QRegion &dirty) override;

    ObjStroke strokeTemplate;

protected:
    void begin(ToolHost *host, const Input &input) override;
    void move(ToolHost *host, const Input &input) override;
    void end(ToolHost *host, const Input &input) override;
    void cancel(ToolHost *host) override;
    void hover(ToolHost *host, const Input &input) override;

private:
    void extendTo(ToolHost *host, const QPointF &pt);
    void keep(ToolHost *host);

    bool moved = false;
};
