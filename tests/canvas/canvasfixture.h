#pragma once

#include "app/appstate.h"
#include "canvas/mainview.h"
#include "canvas/toolkit.h"
#include "document/addcommand.h"
#include "document/imagestatic.h"
#include "document/mainpage.h"
#include "document/objstroke.h"
#include "pixels.h"
#include "testenvironment.h"

#include <QApplication>
#include <QDir>
#include <QMouseEvent>
#include <QPointingDevice>
#include <QScreen>
#include <QTabletEvent>
#include <QUndoStack>
#include <QtTest>

#include <memory>

// A shown canvas inside a window of `windowSize` (the screen's size when
// invalid), with one blank page unless `blankPage` is false, fresh settings
// and a fresh tool kit.
class CanvasFixture
{
public:
    explicit CanvasFixture(QSize windowSize = QSize(), bool blankPage = true)
    {
        ToolKit::reset();
        QDir().mkpath(AppState::instance().tempFolder = env.path(QStringLiteral("temp/")));
        if (!windowSize.isValid())
            windowSize = QGuiApplication::primaryScreen()->size();
        window = std::make_unique<QWidget>();
        window->resize(windowSize);
        view = new MainView(window.get());
        if (blankPage)
            view->newPage();
        window->show();
        exposed = QTest::qWaitForWindowExposed(window.get());
    }

    MainPage *page() const { return view->currentPage(); }
    const QList<Obj *> &objects() const { return view->currentPage()->objects; }
    int commands() const { return page()->undoStack->count(); }

    template<class T>
    T *lastObject() const
    {
        return objects().isEmpty() ? nullptr : dynamic_cast<T *>(objects().last());
    }

    int layerAlpha(int x, int y) const { return qAlpha(view->layer()->pixel(x, y)); }
    QColor shown(const QPointF &pt) const
    {
        return view->grab().toImage().pixelColor(pt.toPoint());
    }

    // The bounding box of the layer pixels in `area` more opaque than `alpha`.
    QRect inkBox(const QRect &area, int alpha = 0) const
    {
        const QRect box = Pixels::ink(view->layer()->copy(area), alpha);
        return box.isNull() ? box : box.translated(area.topLeft());
    }

    // Pushes obj and renders it into the layer, as a tool leaves it.
    template<class T>
    T *add(T *obj)
    {
        view->pushCommand(new AddCommand(view, obj));
        view->updateObjectCache(page(), QRect());
        return obj;
    }

    ObjStroke *addStroke(const QPointF &a, const QPointF &b, int width = 20)
    {
        auto *stroke = new ObjStroke;
        stroke->width = width;
        stroke->colour = Qt::red;
        stroke->path.moveTo(a);
        stroke->path.lineTo(b);
        return add(stroke);
    }

    // Inserts a solid picture loaded from a file.
    ImageStatic *addImage(const QPointF &topLeft, const QSize &size = QSize(100, 80),
                          const QColor &colour = Qt::blue)
    {
        QImage picture(size, QImage::Format_ARGB32);
        picture.fill(colour);
        const QString file = env.path(QStringLiteral("picture%1.png").arg(++files));
        picture.save(file);
        auto *image = new ImageStatic(QRectF(topLeft, QSizeF()));
        image->load(file);
        return add(image);
    }

    void press(const QPoint &pt, Qt::KeyboardModifiers mods = {},
               Qt::MouseButton b = Qt::LeftButton)
    {
        QTest::mousePress(view, b, mods, pt);
    }
    void move(const QPoint &pt) { QTest::mouseMove(view, pt); }
    void release(const QPoint &pt, Qt::KeyboardModifiers mods = {},
                 Qt::MouseButton b = Qt::LeftButton)
    {
        QTest::mouseRelease(view, b, mods, pt);
    }
    void click(const QPoint &pt, Qt::KeyboardModifiers mods = {})
    {
        QTest::mouseClick(view, Qt::LeftButton, mods, pt);
    }

    // A mouse event QTest cannot send: a double click, or a move with
    // buttons or modifiers held.
    void send(QEvent::Type type, const QPointF &pt, Qt::MouseButtons buttons,
              Qt::KeyboardModifiers mods = {})
    {
        const Qt::MouseButton button
            = type == QEvent::MouseMove ? Qt::NoButton : Qt::MouseButton(int(buttons));
        QMouseEvent event(type, pt, view->mapToGlobal(pt), button, buttons, mods);
        QApplication::sendEvent(view, &event);
    }

    // Sends a stylus event with the given pressure, from the pen tip or from
    // the eraser end.
    void tablet(QEvent::Type type, const QPointF &pos, qreal pressure, bool eraserEnd = false)
    {
        using D = QPointingDevice;
        const auto caps = QInputDevice::Capability::Position | QInputDevice::Capability::Pressure;
        static const D tip(QStringLiteral("tip"), 9001, D::DeviceType::Stylus, D::PointerType::Pen,
                           caps, 1, 2);
        static const D eraser(QStringLiteral("eraser"), 9002, D::DeviceType::Stylus,
                              D::PointerType::Eraser, caps, 1, 2);
        const bool down = type != QEvent::TabletRelease;
        QTabletEvent event(type, eraserEnd ? &eraser : &tip, pos, view->mapToGlobal(pos), pressure,
                           0, 0, 0, 0, 0, Qt::NoModifier,
                           type == QEvent::TabletMove ? Qt::NoButton : Qt::LeftButton,
                           down ? Qt::LeftButton : Qt::NoButton);
        QApplication::sendEvent(view, &event);
    }

    // A press, moves through `points` and a release at the last one.
    void drag(const QList<QPoint> &points, Qt::KeyboardModifiers mods = Qt::NoModifier,
              Qt::MouseButton button = Qt::LeftButton)
    {
        press(points.first(), mods, button);
        for (int i = 1; i < points.size(); ++i)
            move(points.at(i));
        release(points.last(), mods, button);
    }

    TestEnvironment env;
    std::unique_ptr<QWidget> window;
    MainView *view = nullptr;
    bool exposed = false;
    int files = 0;
};
