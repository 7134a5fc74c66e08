#pragma once

#include <QRect>

#include <array>
#include <memory>

class QWidget;

// A dotted frame around a rectangle of the screen, made of four one-pixel
// windows of our own that stay above everything and let the mouse through.
// Drawing into another client's window is unreliable where a compositor or
// the client repaints it at will; our own windows are not.
class WindowFrameOutline
{
public:
    WindowFrameOutline();
    ~WindowFrameOutline();

    // Frames the rectangle one pixel inside its edge (global coordinates).
    void show(const QRect &rect);
    void hide();

private:
    std::array<std::unique_ptr<QWidget>, 4> edges;
};
