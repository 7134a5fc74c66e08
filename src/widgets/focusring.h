#pragma once

#include <QColor>

class QPainter;
class QRect;
class QWidget;

// The ring that marks the control the keyboard is on, for custom-painted
// controls. It must show over any desktop picture, so the coloured ring has a
// contrasting edge on each side.
class FocusRing
{
public:
    // The ring's colour and the edge that keeps it visible over a background
    // of its own colour, both from the look in use.
    static QColor colour();
    static QColor edgeColour();
    // Paints the ring just inside rect: a 1 px edge, the 2 px (scaled) ring,
    // another 1 px edge.
    static void paint(QPainter &painter, const QRect &rect, const QWidget *pWidget);
};
