#pragma once

#include <QList>

class QWidget;

// Arrow keys that move the keyboard between controls laid out on a grid.
class KeyWalk
{
public:
    // The control of candidates nearest to from in the direction of the arrow
    // key (Qt::Key_Left, _Right, _Up, _Down), preferring one in line with it;
    // null when there is none that way or key is no arrow.
    static QWidget *neighbour(const QList<QWidget *> &candidates, const QWidget *from, int key);
    // The visible, enabled children of pRoot that Tab can reach, in focus
    // chain order.
    static QList<QWidget *> reachable(const QWidget *pRoot);
};
