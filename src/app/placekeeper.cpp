#include "placekeeper.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

PlaceKeeper::PlaceKeeper(QWidget *pWindow)
    : QObject(pWindow)
    , window(pWindow)
{
    pWindow->installEventFilter(this);
}

void PlaceKeeper::expect(const QPoint &topLeft)
{
    expected = topLeft;
    known = true;
    restored = false;
}

bool PlaceKeeper::eventFilter(QObject *pWatched, QEvent *pEvent)
{
    if (pWatched == window && pEvent->type() == QEvent::Move && pEvent->spontaneous() && known
        && !restored && window->isWindow() && window->pos() != expected) {
        restored = true;
        // After the report is handled, so that Qt's own idea is replaced too.
        QTimer::singleShot(0, this, [this] {
            if (window->isWindow() && window->pos() != expected)
                window->move(expected);
        });
    }
    return false;
}
