#pragma once

#include <QFont>
#include <QRect>
#include <QSize>
#include <QString>

class QPainter;
class QWidget;

// The page's number "n | m", after the document's name and before how many
// pages are still coming in, in the canvas's top right corner. Its box is
// measured once for each text, size and scale: the repaint of every pen
// piece asks whether it reaches the label.
class PageLabel
{
public:
    struct Text
    {
        int number = 0;
        int count = 0;
        QString name;
        QString progress; // after the numbers, while pages come in
        int zoomPercent = 100; // shown unless 100
        bool operator==(const Text &other) const
        {
            return number == other.number && count == other.count && name == other.name
                && progress == other.progress && zoomPercent == other.zoomPercent;
        }
    };

    // `touch`: the touch interface, which doubles the label's size.
    QRect box(const QWidget *view, const Text &text, bool touch) const;
    void paint(QPainter &painter, const QWidget *view, const Text &text, bool touch,
               bool onPlate) const;

private:
    static QString words(const Text &text);
    static QFont font(const QWidget *view, bool touch);

    mutable Text measuredText;
    mutable QSize measuredSize;
    mutable bool measuredTouch = false;
    mutable int measuredDpi = 0;
    mutable QFont measuredFont;
    mutable QRect measured;
};
