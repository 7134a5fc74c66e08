#pragma once

class QWidget;

// Sizes of the toolbar and its parts follow the UI scale u: logical DPI / 96,
// or 2 with the touch interface.
class ToolbarScale
{
public:
    static double ui(const QWidget *pWidget);
    // round(base × u)
    static int px(const QWidget *pWidget, double base);
    // The side of a square toolbar button: round((ToolWidgetUISize + 30) × u).
    static int buttonSide(const QWidget *pWidget);
};
