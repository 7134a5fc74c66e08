#pragma once

#include <QPoint>
#include <QRect>

class QPainter;
class QPixmap;
class QString;

// The 225 x 225 inset that shows the 25 x 25 pixels around the pointer nine
// times enlarged. It sits in the top-left corner of the screen and jumps to
// the bottom-right one when the pointer comes under it, and back.
class CaptureLoupe
{
public:
    static constexpr int Side = 225;

    // Moves the loupe out of the way of p on a screen of the given size.
    void place(const QPoint &p, const QSize &screenSize);
    QPoint centre() const { return loupeCentre; }
    // The square the loupe covers.
    QRect rect() const;
    // Paints the enlarged surroundings of p in the still image, the centre
    // cross and the caption along the bottom edge.
    void paint(QPainter &painter, const QPixmap &stillImage, const QPoint &p,
               const QString &strCaption) const;

private:
    bool atTopLeft() const { return loupeCentre == topLeftCentre(); }
    static QPoint topLeftCentre() { return QPoint(122, 122); }

    QPoint loupeCentre = topLeftCentre();
};
