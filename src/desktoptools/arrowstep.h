#pragma once

#include <QPoint>

class QKeyEvent;

// The move an arrow key asks a desktop tool for: one pixel in its direction,
// ten with Shift held; a null point for any other key.
QPoint ArrowStep(const QKeyEvent *pEvent);
