#pragma once

#include "document/objline.h"
#include "tool.h"

// Straight lines with caps: a preview follows the pointer and the line
// reaches the layer at release. Shift snaps the angle to steps of 15 degrees.
class LineTool : public Tool
{
public:
    void mouseDoubleClick(ToolHost *host, const QPointF &pt, QInputEvent *event) override;
    void paint(QPainter *painter, const QRegion &dirty) override;

    // `to` turned about `from` down to the nearest multiple of 15 degrees in
    // QLineF::angle terms, at the same distance. The pen snaps with it too.
    static QPointF snapped(const QPointF &from, const QPointF &to);

    ObjLine lineTemplate;
    int popupIndex = 0;

protected:
    void begin(ToolHost *host, const Input &input) override;
    void move(ToolHost *host, const Input &input) override;
    void end(ToolHost *host, const Input &input) override;
    void cancel(ToolHost *host) override;
    void hover(ToolHost *host, const Input &input) override;

private:
    void stretchTo(ToolHost *host, const Input &input);
};
