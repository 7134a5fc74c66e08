#pragma once

#include <QImage>
#include <QMouseEvent>
#include <QtTest>

// Input and pictures shared by the widget tests.
namespace WidgetInput {

// A left-button press at `from`, one move and a release at `to`.
inline void drag(QWidget *widget, const QPoint &from, const QPoint &to,
                 Qt::MouseButton button = Qt::LeftButton)
{
    QTest::mousePress(widget, button, Qt::NoModifier, from);
    QTest::mouseMove(widget, to);
    QTest::mouseRelease(widget, button, Qt::NoModifier, to);
}

// A move without buttons; QTest would take a null point for the centre.
inline void hover(QWidget *widget, const QPoint &pos)
{
    QMouseEvent move(QEvent::MouseMove, pos, widget->mapToGlobal(pos), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

} // namespace WidgetInput
