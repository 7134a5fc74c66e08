#pragma once

#include <QPixmap>

#include <functional>

// A grab of one screen in three steps, so that each can overlap other work:
// made ready when created (its memory, say, while the capture delay runs),
// asked for (the picture shows the screen at that moment, whatever is mapped
// afterwards) and collected. This one grabs in full when asked.
class ScreenGrab
{
public:
    explicit ScreenGrab(std::function<QPixmap()> grabNow);
    virtual ~ScreenGrab() = default;
    ScreenGrab(const ScreenGrab &) = delete;
    ScreenGrab &operator=(const ScreenGrab &) = delete;

    virtual void ask();
    // Null when the desktop gave no picture.
    virtual QPixmap take();

private:
    std::function<QPixmap()> grabNow;
    QPixmap picture;
};
