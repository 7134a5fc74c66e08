#pragma once

#include <QPointF>

#include <memory>
#include <vector>

class QInputEvent;
class QPainter;
class QRegion;
class QWheelEvent;
class Tool;
class ToolHost;
struct DrawSettings;

class MouseTool;
class SelectTool;
class PenTool;
class HighlighterTool;
class EraserTool;
class LineTool;
class ShapeTool;
class TextTool;
class DragTool;

// Owns one instance of every tool, knows which one is current and forwards the
// canvas's input and painting to it. The drawing tools' templates hold the
// drawing settings. One process-wide instance; tests call reset().
class ToolKit
{
public:
    enum ToolId {
        Mouse = 0,
        Select = 1,
        Pen = 2,
        Highlighter = 3,
        Eraser = 4,
        Line = 5,
        Shape = 6,
        Text = 7,
        Drag = 8,
        // The presenter tools: they point, they do not draw.
        Laser = 9,
        Spotlight = 10,
    };

    virtual ~ToolKit();

    static ToolKit &instance();
    // Replaces the instance, and the presenter kit, by fresh ones (tests).
    static void reset();

    void mousePress(ToolHost *host, const QPointF &pt, QInputEvent *event);
    void mouseMove(ToolHost *host, const QPointF &pt, QInputEvent *event);
    void mouseRelease(ToolHost *host, const QPointF &pt, QInputEvent *event);
    void mouseDoubleClick(ToolHost *host, const QPointF &pt, QInputEvent *event);
    bool wheel(ToolHost *host, QWheelEvent *event);
    void paint(QPainter *painter, const QRegion &dirty);
    // Cancels the current tool's gesture and resets the tool.
    void resetTool();

    int currentToolId() const { return current; }
    int lastToolId() const { return last; }
    void setCurrentTool(int id);
    void setLastTool(int id) { last = id; }
    Tool *tool(int id) const;
    Tool *currentTool() const { return tool(current); }
    bool isDrawingTool(int id) const { return id >= Select && id <= Text; }

    MouseTool *mouseTool() const;
    SelectTool *selectTool() const;
    PenTool *penTool() const;
    HighlighterTool *highlighterTool() const;
    EraserTool *eraserTool() const;
    LineTool *lineTool() const;
    ShapeTool *shapeTool() const;
    TextTool *textTool() const;
    DragTool *dragTool() const;

    // Copies the "Draw" settings into the templates, and back.
    void applySettings(const DrawSettings &settings);
    void storeSettings(DrawSettings &settings) const;

private:
    ToolKit();

    int current = Pen;
    int last = Pen;
    std::vector<std::unique_ptr<Tool>> tools;
};
