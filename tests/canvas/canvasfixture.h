#pragma once

#include "app/appstate.h"
#include "canvas/mainview.h"
#include "canvas/toolkit.h"
#include "document/mainpage.h"
#include "testenvironment.h"

#include <QApplication>
#include <QDir>
#include <QPointingDevice>
#include <QScreen>
#include <QTabletEvent>
#include <QUndoStack>
#include <QtTest>

#include <memory>

// A shown canvas with one blank page inside a window of `windowSize` (the
// screen's size when invalid), fresh settings and a fresh tool kit.
class CanvasFixture
{
public:
    explicit CanvasFixture(QSize windowSize = QSize())
    {
        ToolKit::reset();
        QDir().mkpath(AppState::instance().tempFolder = env.path(QStringLiteral("temp/")));
        if (!windowSize.isValid())
            windowSize = QGuiApplication::primaryScreen()->size();
        window = std::make_unique<QWidget>();
        window->resize(windowSize);
        view = new MainView(window.get());
        view->newPage();
        window->show();
        exposed = QTest::qWaitForWindowExposed(window.get());
    }

    MainPage *page() const { return view->currentPage(); }
    const QList<Obj *> &objects() const { return view->currentPage()->objects; }

    template<class T>
    T *lastObject() const
    {
        return objects().isEmpty() ? nullptr : dynamic_cast<T *>(objects().last());
    }

    int layerAlpha(int x, int y) const { return qAlpha(view->layer()->pixel(x, y)); }

    // Sends a stylus event with the given pressure, from the pen tip or from
    // the eraser end.
    void tablet(QEvent::Type type, const QPointF &pos, qreal pressure, bool eraserEnd = false)
    {
        static const QPointingDevice tip(
            QStringLiteral("test stylus"), 9001, QInputDevice::DeviceType::Stylus,
            QPointingDevice::PointerType::Pen,
            QInputDevice::Capability::Position | QInputDevice::Capability::Pressure, 1, 2);
        static const QPointingDevice eraser(
            QStringLiteral("test stylus eraser"), 9002, QInputDevice::DeviceType::Stylus,
            QPointingDevice::PointerType::Eraser,
            QInputDevice::Capability::Position | QInputDevice::Capability::Pressure, 1, 2);
        const bool down = type != QEvent::TabletRelease;
        QTabletEvent event(type, eraserEnd ? &eraser : &tip, pos, view->mapToGlobal(pos), pressure,
                           0, 0, 0, 0, 0, Qt::NoModifier,
                           type == QEvent::TabletMove ? Qt::NoButton : Qt::LeftButton,
                           down ? Qt::LeftButton : Qt::NoButton);
        QApplication::sendEvent(view, &event);
    }

    // A press, moves through `points` and a release at the last one.
    void drag(const QList<QPoint> &points, Qt::MouseButton button = Qt::LeftButton,
              Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::mousePress(view, button, modifiers, points.first());
        for (int i = 1; i < points.size(); ++i)
            QTest::mouseMove(view, points.at(i));
        QTest::mouseRelease(view, button, modifiers, points.last());
    }

    TestEnvironment env;
    std::unique_ptr<QWidget> window;
    MainView *view = nullptr;
    bool exposed = false;
};
