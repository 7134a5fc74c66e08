#include "toolkit.h"

#include "app/appstate.h"
#include "dragtool.h"
#include "erasertool.h"
#include "highlightertool.h"
#include "lasertool.h"
#include "linetool.h"
#include "mousetool.h"
#include "pentool.h"
#include "presenterkit.h"
#include "selecttool.h"
#include "shapetool.h"
#include "spotlighttool.h"
#include "texttool.h"

namespace {
std::unique_ptr<ToolKit> &storage()
{
    static std::unique_ptr<ToolKit> kit;
    return kit;
}
} // namespace

ToolKit::ToolKit()
{
    tools.emplace_back(new MouseTool);
    tools.emplace_back(new SelectTool);
    tools.emplace_back(new PenTool);
    tools.emplace_back(new HighlighterTool);
    tools.emplace_back(new EraserTool);
    tools.emplace_back(new LineTool);
    tools.emplace_back(new ShapeTool);
    tools.emplace_back(new TextTool);
    tools.emplace_back(new DragTool);
    tools.emplace_back(new LaserTool);
    tools.emplace_back(new SpotlightTool);
}

ToolKit::~ToolKit()
{
    while (!tools.empty())
        tools.pop_back();
}

ToolKit &ToolKit::instance()
{
    auto &kit = storage();
    if (!kit)
        kit.reset(new ToolKit);
    return *kit;
}

void ToolKit::reset()
{
    storage().reset();
    PresenterKit::reset();
    storage().reset(new ToolKit);
}

void ToolKit::mousePress(ToolHost *host, const QPointF &pt, QInputEvent *event)
{
    currentTool()->mousePress(host, pt, event);
}

void ToolKit::mouseMove(ToolHost *host, const QPointF &pt, QInputEvent *event)
{
    currentTool()->mouseMove(host, pt, event);
}

void ToolKit::mouseRelease(ToolHost *host, const QPointF &pt, QInputEvent *event)
{
    currentTool()->mouseRelease(host, pt, event);
}

void ToolKit::mouseDoubleClick(ToolHost *host, const QPointF &pt, QInputEvent *event)
{
    currentTool()->mouseDoubleClick(host, pt, event);
}

bool ToolKit::wheel(ToolHost *host, QWheelEvent *event)
{
    return currentTool()->wheel(host, event);
}

void ToolKit::paint(QPainter *painter, const QRegion &dirty)
{
    currentTool()->paint(painter, dirty);
}

void ToolKit::resetTool()
{
    currentTool()->cancelGesture();
    currentTool()->reset();
}

void ToolKit::setCurrentTool(int id)
{
    if (id < 0 || id >= int(tools.size()))
        return;
    // A gesture begun with the outgoing tool is not finished by the new one.
    resetTool();
    current = id;
}

Tool *ToolKit::tool(int id) const
{
    return (id >= 0 && id < int(tools.size())) ? tools[size_t(id)].get() : nullptr;
}

MouseTool *ToolKit::mouseTool() const
{
    return static_cast<MouseTool *>(tool(Mouse));
}
SelectTool *ToolKit::selectTool() const
{
    return static_cast<SelectTool *>(tool(Select));
}
PenTool *ToolKit::penTool() const
{
    return static_cast<PenTool *>(tool(Pen));
}
HighlighterTool *ToolKit::highlighterTool() const
{
    return static_cast<HighlighterTool *>(tool(Highlighter));
}
EraserTool *ToolKit::eraserTool() const
{
    return static_cast<EraserTool *>(tool(Eraser));
}
LineTool *ToolKit::lineTool() const
{
    return static_cast<LineTool *>(tool(Line));
}
ShapeTool *ToolKit::shapeTool() const
{
    return static_cast<ShapeTool *>(tool(Shape));
}
TextTool *ToolKit::textTool() const
{
    return static_cast<TextTool *>(tool(Text));
}
DragTool *ToolKit::dragTool() const
{
    return static_cast<DragTool *>(tool(Drag));
}

void ToolKit::applySettings(const DrawSettings &s)
{
    PenTool *pen = penTool();
    pen->strokeTemplate.width = pen->lineTemplate.width = s.penWidth;
    pen->strokeTemplate.colour = pen->lineTemplate.colour = s.penColor;

    highlighterTool()->strokeTemplate.width = s.highlighterWidth;
    highlighterTool()->strokeTemplate.colour = s.highlighterColor;
    eraserTool()->eraserTemplate.width = s.eraserWidth;

    ObjLine &line = lineTool()->lineTemplate;
    line.width = s.lineWidth;
    line.colour = s.lineColor;
    line.shadow = s.lineShadow ? 1 : 0;
    line.startCap = s.lineStartType;
    line.endCap = s.lineEndType;
    line.penStyle = s.linePenStyle;

    ObjShape &shape = shapeTool()->shapeTemplate;
    shape.width = s.shapeWidth;
    shape.colour = s.shapeColor;
    shape.opacity = s.shapeOpacity;
    shape.shadow = s.shapeShadow ? 1 : 0;
    shape.shapeType = s.shapeType;
    shape.penStyle = s.shapePenStyle;
    shape.fill = s.shapeFillColor;

    ObjText &text = textTool()->textTemplate;
    text.colour = s.textColor;
    text.opacity = s.textOpacity;
    text.font = QFont(s.textFontFamily, s.textFontSize);
    text.alignment = s.textAlign;
}

void ToolKit::storeSettings(DrawSettings &s) const
{
    s.penWidth = penTool()->strokeTemplate.width;
    s.penColor = penTool()->strokeTemplate.colour;
    s.highlighterWidth = highlighterTool()->strokeTemplate.width;
    s.highlighterColor = highlighterTool()->strokeTemplate.colour;
    s.eraserWidth = eraserTool()->eraserTemplate.width;

    const ObjLine &line = lineTool()->lineTemplate;
    s.lineWidth = line.width;
    s.lineColor = line.colour;
    s.lineShadow = line.shadow > 0;
    s.lineStartType = line.startCap;
    s.lineEndType = line.endCap;
    s.linePenStyle = line.penStyle;

    const ObjShape &shape = shapeTool()->shapeTemplate;
    s.shapeWidth = shape.width;
    s.shapeColor = shape.colour;
    s.shapeOpacity = shape.opacity;
    s.shapeShadow = shape.shadow > 0;
    s.shapeType = shape.shapeType;
    s.shapePenStyle = shape.penStyle;
    s.shapeFillColor = shape.fill;

    const ObjText &text = textTool()->textTemplate;
    s.textColor = text.colour;
    s.textOpacity = text.opacity;
    s.textFontSize = text.font.pointSize();
    s.textFontFamily = text.font.family();
    s.textAlign = text.alignment;
}
