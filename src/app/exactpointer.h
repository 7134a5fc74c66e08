#pragma once

#include <QObject>
#include <QPointF>

class QSinglePointEvent;

// Qt 6.4 hands widgets pointer positions rounded to whole logical pixels,
// global ones too: a device pixel off at odd device positions on a scaled
// screen. The window an event passes through on its way to the widget still
// sees the exact position; once watching, this keeps it for the widget.
class ExactPointer : public QObject
{
public:
    // Starts watching, once per process; whoever wants exact positions calls
    // it before the first event it handles.
    static void watch();
    // The event's global position, exact where its window saw it.
    static QPointF globalPosition(const QSinglePointEvent *event);
    // Where the pointer rests (QCursor's whole logical pixel), exact when the
    // last pointer event seen was there.
    static QPointF cursorPosition();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    using QObject::QObject;

    QPointF exact;
    quint64 timestamp = 0;
    bool seen = false;
};
