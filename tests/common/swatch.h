#pragma once

#include <QColor>
#include <QPainter>
#include <QWidget>

// A plain frameless window of one colour, to be found again in a screen capture.
class Swatch : public QWidget
{
public:
    explicit Swatch(const QColor &colour)
        : colour(colour)
    {
        setWindowFlags(Qt::FramelessWindowHint);
    }

protected:
    void paintEvent(QPaintEvent *) override { QPainter(this).fillRect(rect(), colour); }

private:
    QColor colour;
};
