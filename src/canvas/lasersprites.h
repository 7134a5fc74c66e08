#pragma once

#include <QColor>
#include <QImage>

#include <array>
#include <vector>

// The laser's pictures, drawn once per look: the dot with its glow, and a
// round stamp for each fade step of the trail. Blitting them costs a few
// hundredths of what filling the same antialiased shapes does on every
// frame.
class LaserSprites
{
public:
    static constexpr int Steps = 10;
    // Stamps overlap this many times along a line (fewer where thin), so
    // each is lighter than the trail's alpha.
    static constexpr double Overlap = 6;

    // Redraws the pictures, in device pixels, if the look or the screen's
    // pixel ratio changed.
    void update(const QColor &colour, int size, qreal ratio);
    const QImage &dot() const { return dotPicture; }
    // Step 0 is a fresh piece of trail, Steps - 1 the faintest.
    const QImage &stamp(int step) const { return stamps[size_t(step)]; }
    // The stamp's diameter, in logical pixels.
    double stampWidth(int step) const;
    // How far apart stamps are along the trail, in logical pixels.
    double spacing(int step) const;

private:
    struct Disc
    {
        double diameter;
        QColor colour;
    };
    static QImage discs(const std::vector<Disc> &layers, qreal ratio);

    QColor colour;
    int size = 0;
    qreal ratio = 0;
    QImage dotPicture;
    std::array<QImage, Steps> stamps;
};
