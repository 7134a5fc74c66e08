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
    // The ring's colour: the palette's highlight. The one place a look with
    // other colours changes it.
    static QColor colour(const QWidget *pWidget);
    // The edge that keeps the ring visible over a background of its own colour.
    static QColor edgeColour(const QWidget *pWidget);
    // Paints the ring just inside rect: a 1 px edge, the 2 px (scaled) ring,
    // another 1 px edge.
    static void paint(QPainter &painter, const QRect &rect, const QWidget *pWidget);
};
