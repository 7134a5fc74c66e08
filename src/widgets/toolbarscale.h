#pragma once

class QWidget;

// Sizes of the toolbar and its parts follow the UI scale u: logical DPI / 96,
// or 2 with the touch interface. The toolbar's size step adds its zoom on
// top: steps 0 to 4 widen the buttons by that many pixels, steps past 4 show
// the whole toolbar larger, up to twice step 4 at step 8.
class ToolbarScale
{
public:
    static constexpr int LargestStep = 8;

    static double ui(const QWidget *pWidget);
    // round(base × u)
    static int px(const QWidget *pWidget, double base);
    // 1 up to step 4, then a quarter more per step: 1.5 at step 6, 2 at step 8.
    static double zoom();
    // round(base × u × zoom): the toolbar's own parts.
    static int barPx(const QWidget *pWidget, double base);
    // The side of a square toolbar button: round((30 + min(step, 4)) × u × zoom).
    static int buttonSide(const QWidget *pWidget);
};
