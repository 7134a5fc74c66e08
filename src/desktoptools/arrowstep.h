#pragma once

#include <QPoint>

class QKeyEvent;

// What an arrow key asks a desktop tool for, alike in every tool: a plain
// arrow moves by one pixel in its direction, with Shift by ten; with Ctrl it
// resizes instead (Right and Down grow the width and height, Left and Up
// shrink them), by one pixel or with Shift by ten.

// The move; a null point for any other key or with Ctrl held.
QPoint ArrowStep(const QKeyEvent *pEvent);
// The change of width (x) and height (y); a null point for any other key or
// without Ctrl.
QPoint ArrowResize(const QKeyEvent *pEvent);
