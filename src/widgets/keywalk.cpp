#include "keywalk.h"

#include <QRect>
#include <QWidget>

#include <limits>

namespace {

QRect globalRect(const QWidget *pWidget)
{
    return QRect(pWidget->mapToGlobal(QPoint(0, 0)), pWidget->size());
}

// How far along the arrow's direction the target starts past from's edge
// (negative: not that way), and how far it is beside that line.
struct Distance
{
    int along;
    int beside;
};

int gap(int aLow, int aHigh, int bLow, int bHigh)
{
    if (bHigh < aLow)
        return aLow - bHigh;
    if (bLow > aHigh)
        return bLow - aHigh;
    return 0; // overlapping: in line
}

Distance distance(const QRect &from, const QRect &to, int key)
{
    switch (key) {
    case Qt::Key_Left:
        return { from.left() - to.right(), gap(from.top(), from.bottom(), to.top(), to.bottom()) };
    case Qt::Key_Right:
        return { to.left() - from.right(), gap(from.top(), from.bottom(), to.top(), to.bottom()) };
    case Qt::Key_Up:
        return { from.top() - to.bottom(), gap(from.left(), from.right(), to.left(), to.right()) };
    case Qt::Key_Down:
        return { to.top() - from.bottom(), gap(from.left(), from.right(), to.left(), to.right()) };
    default:
        return { -1, 0 };
    }
}

} // namespace

QWidget *KeyWalk::neighbour(const QList<QWidget *> &candidates, const QWidget *from, int key)
{
    if (!from)
        return nullptr;
    const QRect origin = globalRect(from);
    QWidget *best = nullptr;
    long long bestScore = std::numeric_limits<long long>::max();
    for (QWidget *candidate : candidates) {
        if (candidate == from)
            continue;
        const Distance d = distance(origin, globalRect(candidate), key);
        if (d.along <= 0)
            continue;
        // A control in line wins over a nearer one diagonally away, so that
        // the walk follows rows and columns.
        const long long score = 1000LL * d.beside + d.along;
        if (score < bestScore) {
            bestScore = score;
            best = candidate;
        }
    }
    return best;
}

QList<QWidget *> KeyWalk::reachable(const QWidget *pRoot)
{
    QList<QWidget *> found;
    QWidget *w = pRoot->nextInFocusChain();
    while (w && w != pRoot) {
        if (pRoot->isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus) && w->isVisible()
            && w->isEnabled() && !found.contains(w))
            found.append(w);
        w = w->nextInFocusChain();
    }
    return found;
}
