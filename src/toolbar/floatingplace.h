#pragma once

#include <QPoint>

// Where the floating option widget was left and whether it was folded. Kept
// for the run by whoever owns the widget, so that a rebuilt widget (another
// tool) reappears in the same place and shape; never saved.
struct FloatingPlace
{
    QPoint pos = QPoint(-9999, -9999);
    bool folded = false;

    bool isPlaced() const { return pos != QPoint(-9999, -9999); }
};
