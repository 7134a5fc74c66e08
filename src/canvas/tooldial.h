#pragma once

#include <QColor>

// What the toolbar's width dial offers for each tool, and how a width, colour
// or opacity chosen there reaches the tool's template. Values outside a tool's
// range are brought into it.
class ToolDial
{
public:
    struct Setting
    {
        int value = 0;
        int minimum = 0;
        int maximum = 0;
        QColor colour = Qt::transparent;
    };

    static Setting forTool(int iTool);
    // False when the tool has no width (mouse, select).
    static bool setWidth(int iTool, int iWidth);
    // False when the tool has no colour (mouse, select, eraser).
    static bool setColour(int iTool, const QColor &colour);
    // False for tools other than shape and text.
    static bool setOpacity(int iTool, int iOpacity);
};
