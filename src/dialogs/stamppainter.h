#pragma once

#include <QPixmap>
#include <QString>

struct TextStyle;

// Turns a text or a number into a transparent picture for stamping onto a
// page. Sizes scale with the screen through AppState::scaled().
class StampPainter
{
public:
    // Each line outlined in the border colour over a soft shadow and filled
    // with the text colour.
    static QPixmap textPixmap(const QString &strText, const TextStyle &style);
    // The number in the text colour on a disc of the border colour with a rim
    // of the text colour; the side is twice the font's point size.
    static QPixmap numberPixmap(const QString &strNumber, const TextStyle &style);
};
