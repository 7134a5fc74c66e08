#include "exactpointer.h"

#include <QCoreApplication>
#include <QCursor>
#include <QPointer>
#include <QSinglePointEvent>

namespace {
QPointer<ExactPointer> &instance()
{
    static QPointer<ExactPointer> watcher;
    return watcher;
}
} // namespace

void ExactPointer::watch()
{
    if (instance() || !QCoreApplication::instance())
        return;
    instance() = new ExactPointer(QCoreApplication::instance());
    QCoreApplication::instance()->installEventFilter(instance());
}

// The widget's event carries the window's timestamp and its position
// rounded; anything else (a synthetic event) is taken as it is.
QPointF ExactPointer::globalPosition(const QSinglePointEvent *event)
{
    const ExactPointer *watcher = instance();
    const QPointF given = event->globalPosition();
    if (watcher && watcher->seen && watcher->timestamp == event->timestamp()
        && watcher->exact.toPoint() == given.toPoint())
        return watcher->exact;
    return given;
}

QPointF ExactPointer::cursorPosition()
{
    const ExactPointer *watcher = instance();
    const QPoint rounded = QCursor::pos();
    if (watcher && watcher->seen && watcher->exact.toPoint() == rounded)
        return watcher->exact;
    return rounded;
}

bool ExactPointer::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        if (watched->isWindowType()) {
            const auto *pointer = static_cast<const QSinglePointEvent *>(event);
            exact = pointer->globalPosition();
            timestamp = pointer->timestamp();
            seen = true;
        }
        break;
    default:
        break;
    }
    return false;
}
