#include "tooldial.h"

#include "erasertool.h"
#include "highlightertool.h"
#include "linetool.h"
#include "pentool.h"
#include "shapetool.h"
#include "texttool.h"
#include "toolkit.h"

ToolDial::Setting ToolDial::forTool(int iTool)
{
    const ToolKit &kit = ToolKit::instance();
    switch (iTool) {
    case ToolKit::Pen:
        return { kit.penTool()->strokeTemplate.width, 1, 36, kit.penTool()->strokeTemplate.colour };
    case ToolKit::Highlighter: {
        const ObjStroke &stroke = kit.highlighterTool()->strokeTemplate;
        return { stroke.width, 1, 36, stroke.colour };
    }
    case ToolKit::Eraser:
        return { kit.eraserTool()->eraserTemplate.width, 30, 150, Qt::transparent };
    case ToolKit::Line:
        return { kit.lineTool()->lineTemplate.width, 1, 36, kit.lineTool()->lineTemplate.colour };
    case ToolKit::Shape:
        return { kit.shapeTool()->shapeTemplate.width, 3, 36,
                 kit.shapeTool()->shapeTemplate.colour };
    case ToolKit::Text: {
        const ObjText &text = kit.textTool()->textTemplate;
        return { text.font.pointSize(), 8, 72, text.colour };
    }
    default:
        return {};
    }
}

bool ToolDial::setWidth(int iTool, int iWidth)
{
    const Setting range = forTool(iTool);
    if (range.maximum == 0)
        return false;
    const int width = qBound(range.minimum, iWidth, range.maximum);
    ToolKit &kit = ToolKit::instance();
    switch (iTool) {
    case ToolKit::Pen:
        kit.penTool()->strokeTemplate.width = kit.penTool()->lineTemplate.width = width;
        break;
    case ToolKit::Highlighter:
        kit.highlighterTool()->strokeTemplate.width = width;
        break;
    case ToolKit::Eraser:
        kit.eraserTool()->eraserTemplate.width = width;
        break;
    case ToolKit::Line:
        kit.lineTool()->lineTemplate.width = width;
        break;
    case ToolKit::Shape:
        kit.shapeTool()->shapeTemplate.width = width;
        break;
    default:
        kit.textTool()->textTemplate.font.setPointSize(width);
        break;
    }
    return true;
}

bool ToolDial::setColour(int iTool, const QColor &colour)
{
    ToolKit &kit = ToolKit::instance();
    switch (iTool) {
    case ToolKit::Pen:
        kit.penTool()->strokeTemplate.colour = kit.penTool()->lineTemplate.colour = colour;
        return true;
    case ToolKit::Highlighter:
        kit.highlighterTool()->strokeTemplate.colour = colour;
        return true;
    case ToolKit::Line:
        kit.lineTool()->lineTemplate.colour = colour;
        return true;
    case ToolKit::Shape:
        kit.shapeTool()->shapeTemplate.colour = colour;
        return true;
    case ToolKit::Text:
        kit.textTool()->textTemplate.colour = colour;
        return true;
    default:
        return false;
    }
}

bool ToolDial::setOpacity(int iTool, int iOpacity)
{
    ToolKit &kit = ToolKit::instance();
    const int opacity = qBound(0, iOpacity, 100);
    if (iTool == ToolKit::Shape)
        kit.shapeTool()->shapeTemplate.opacity = opacity;
    else if (iTool == ToolKit::Text)
        kit.textTool()->textTemplate.opacity = opacity;
    else
        return false;
    return true;
}
