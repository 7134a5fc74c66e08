#pragma once

#include <QPoint>
#include <QSize>

#include <vector>

class XTestInput;

// What a program's process spends on a run of evenly paced pointer moves
// sent through XTest, with every repaint and animation frame they cause:
// its threads' CPU from the scheduler's count, read once the program has
// settled before the first move and again once it has settled after the
// last. A held button is pressed before and released after the count.
class MoveCost
{
public:
    struct Run
    {
        std::vector<QPoint> path;
        int intervalUs = 2000;
        bool buttonHeld = true;
    };

    // A figure of eight across a screen of `size` device pixels in steps of
    // 8 pixels: the first point and then `moves` moves.
    static std::vector<QPoint> figureOfEight(const QSize &size, int moves);
    // CPU per move in microseconds; negative when the process is gone.
    static double perMoveUs(XTestInput &input, long long pid, const Run &run);
};
