#pragma once

#include <QPoint>
#include <QPointF>
#include <QRect>

class QPainter;
class QPixmap;
class QString;

// The 225 x 225 inset that shows the 25 x 25 screen pixels around the pointer
// nine times enlarged. It sits in the top-left corner of the screen the
// pointer is on and jumps to its bottom-right one when the pointer comes
// under it, and back.
class CaptureLoupe
{
public:
    static constexpr int Side = 225;

    // Moves the loupe out of the way of p on the screen covering screenArea.
    void place(const QPoint &p, const QRect &screenArea);
    QPoint centre() const { return loupeCentre; }
    // The square the loupe covers.
    QRect rect() const;
    // Paints the enlarged device pixels of the still image around p (a
    // logical position, exact to the device pixel) with the screen pixel at
    // p in the framed centre, the centre cross and the caption along the
    // bottom edge.
    void paint(QPainter &painter, const QPixmap &stillImage, const QPointF &p,
               const QString &strCaption) const;

private:
    QRect area;
    QPoint loupeCentre = QPoint(122, 122);
};
