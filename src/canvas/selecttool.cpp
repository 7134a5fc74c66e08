#include "selecttool.h"

#include "app/devicepixels.h"
#include "document/addcommand.h"
#include "document/commanddelobject.h"
#include "document/commandmoveobject.h"
#include "document/commandresizeobject.h"
#include "document/commandrotateobject.h"
#include "document/movecommand_stroke.h"
#include "document/obj.h"
#include "document/objselect.h"
#include "document/pixelround.h"
#include "mainview.h"
#include "toolkit.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

namespace {

enum Handle { DeleteButton = 3, ResizeHandle = 5, RotateHandle = 9 };

const int antsInterval = 60; // ms
const double firstDash = 6.0;
const QColor lassoFill(227, 227, 255, 100);

QRect frameArea(const Obj *obj)
{
    return PixelRound::rect(obj->frameRect());
}

} // namespace

SelectTool::SelectTool()
    : antsTimer(this)
{
    connect(&antsTimer, &QTimer::timeout, this, &SelectTool::slot_Update);
}

SelectTool::~SelectTool()
{
    if (!rasterOnPage)
        delete raster;
}

void SelectTool::mousePress(MainView *view, const QPointF &pt, QInputEvent *event)
{
    canvas = view;
    if (!onlyButton(event, true)) {
        // A second button during a left drag must not move the drag's origin.
        if (!buttonHeld(event, true))
            Tool::mousePress(view, pt, event);
        return;
    }
    Tool::mousePress(view, pt, event);
    dragStarted = false;
    target = nullptr;
    rotationSum = 0;
    savedRect = QRectF();
    // Any state left over here is a raster selection that was dropped or is
    // still held: the press belongs to the lasso.
    if (state != Idle || (!pressHandle(pt) && !pressObject(view, pt, event))) {
        view->repaint(clearSelection());
        state = Lasso;
        lassoPress(pt, event);
    }
}

bool SelectTool::pressHandle(const QPointF &pt)
{
    for (Obj *obj : std::as_const(selection)) {
        const int handle = obj->hitTest(pt, true);
        if (handle == DeleteButton)
            state = DeletePressed;
        else if (handle == RotateHandle)
            state = RotatePressed;
        else if (handle == ResizeHandle && selection.size() == 1)
            state = ResizePressed;
        else
            continue;
        target = obj;
        savedRect = obj->rect;
        return true;
    }
    return false;
}

bool SelectTool::pressObject(MainView *view, const QPointF &pt, QInputEvent *event)
{
    target = view->objectAt(pt);
    if (!target)
        return false;
    savedRect = target->rect;
    if (selection.contains(target)) {
        state = SelectionPressed;
    } else {
        state = ObjectPressed;
        view->repaint(clearSelection());
        view->repaint(addToSelection(target));
    }
    if (modifiersOf(event) == Qt::ControlModifier && selection.size() == 1)
        duplicateTarget(view);
    return true;
}

// The copy takes the source's place in the selection, so the drag that
// follows moves the copy and leaves the source where it was.
void SelectTool::duplicateTarget(MainView *view)
{
    Obj *copy = target->clone();
    view->pushCommand(new AddCommand(view, copy));
    view->repaint(clearSelection());
    view->repaint(addToSelection(copy));
    target = copy;
}

void SelectTool::lassoPress(const QPointF &pt, QInputEvent *event)
{
    dash = firstDash;
    antsTimer.stop();
    if (raster && outline.contains(pt)) {
        gesture().pressed = true;
        return;
    }
    if (raster)
        reset();
    freeform = !modifiersOf(event).testFlag(Qt::ShiftModifier);
    if (freeform && outline.isEmpty())
        outline.moveTo(pt);
    gesture().pressed = true;
}

void SelectTool::mouseMove(MainView *view, const QPointF &pt, QInputEvent *event)
{
    canvas = view;
    switch (state) {
    case Idle:
        hover(view, pt);
        break;
    case ObjectPressed:
    case SelectionPressed:
        moveObjects(view, pt);
        return;
    case RotatePressed:
        rotateObjects(view, pt);
        break;
    case ResizePressed:
        resizeTarget(view, pt);
        break;
    case Lasso:
        lassoMove(view, pt, event);
        break;
    case DeletePressed:
        break;
    }
    gesture().lastPoint = pt;
}

void SelectTool::hover(MainView *view, const QPointF &pt)
{
    for (Obj *obj : std::as_const(selection)) {
        const int handle = obj->hitTest(pt, true);
        if (handle == ResizeHandle && selection.size() > 1)
            continue;
        if (handle > 0) {
            view->setCursor(obj->handleCursor(handle));
            return;
        }
    }
    view->setCursor(view->objectAt(pt) ? Qt::SizeAllCursor : Qt::ArrowCursor);
}

// Small jitter during a click must not move anything. Once the pointer has
// gone far enough, the whole way from the press point counts.
bool SelectTool::dragStartedAt(const QPointF &pt)
{
    if (!dragStarted) {
        const QPoint travel = (pt - gesture().pressPoint).toPoint();
        if (travel.manhattanLength() <= QApplication::startDragDistance())
            return false;
        dragStarted = true;
        gesture().lastPoint = gesture().pressPoint;
    }
    return true;
}

void SelectTool::moveObjects(MainView *view, const QPointF &pt)
{
    // Past the canvas edge the objects wait at the last place inside.
    if (!view->pageRect().contains(pt.toPoint())) {
        view->setCursor(Qt::ForbiddenCursor);
        return;
    }
    view->setCursor(Qt::SizeAllCursor);
    if (dragStartedAt(pt)) {
        const QPointF delta = pt - gesture().lastPoint;
        for (Obj *obj : std::as_const(selection)) {
            obj->updateFrame(view);
            obj->moveBy(delta);
            obj->updateFrame(view);
        }
    }
    gesture().lastPoint = pt;
}

// Every selected object turns by the angle the handle gave the target, each
// about its own centre.
void SelectTool::rotateObjects(MainView *view, const QPointF &pt)
{
    const float before = target->angle;
    target->updateFrame(view);
    target->dragHandle(RotateHandle, pt, false);
    target->updateFrame(view);
    const float turn = target->angle - before;
    rotationSum += turn;
    for (Obj *obj : std::as_const(selection)) {
        if (obj == target)
            continue;
        obj->updateFrame(view);
        obj->setAngle(obj->angle + turn);
        obj->updateFrame(view);
    }
}

void SelectTool::resizeTarget(MainView *view, const QPointF &pt)
{
    target->updateFrame(view);
    target->dragHandle(ResizeHandle, pt, false);
    target->updateFrame(view);
}

void SelectTool::lassoMove(MainView *view, const QPointF &pt, QInputEvent *event)
{
    if (!buttonHeld(event, true) || !gesture().pressed)
        return;
    if (raster)
        moveRaster(view, pt);
    else if (dragStartedAt(pt))
        growOutline(view, pt);
}

void SelectTool::growOutline(MainView *view, const QPointF &pt)
{
    view->repaint(outlineArea());
    if (freeform) {
        outline.lineTo(pt);
    } else {
        outline = QPainterPath();
        outline.addRect(QRectF(gesture().pressPoint, pt).normalized());
    }
    view->repaint(outlineArea());
}

void SelectTool::moveRaster(MainView *view, const QPointF &pt)
{
    raster->update(view);
    raster->rect.translate(pt - gesture().lastPoint);
    raster->centre = raster->rect.center();
    raster->update(view);
}

void SelectTool::mouseRelease(MainView *view, const QPointF &pt, QInputEvent *)
{
    canvas = view;
    switch (state) {
    case DeletePressed:
        deleteSelection(view);
        break;
    case ObjectPressed:
    case SelectionPressed:
        releaseMove(view);
        break;
    case RotatePressed:
        releaseRotate(view);
        break;
    case ResizePressed:
        releaseResize(view);
        break;
    case Lasso:
        releaseLasso(view, pt);
        return;
    case Idle:
        break;
    }
    state = Idle;
    gesture().pressed = false;
}

void SelectTool::deleteSelection(MainView *view)
{
    if (selection.size() == 1)
        view->pushCommand(new CommandDelObject(view, selection));
}

void SelectTool::releaseMove(MainView *view)
{
    if (dragStarted) {
        const QPointF offset = gesture().lastPoint - gesture().pressPoint;
        for (Obj *obj : std::as_const(selection))
            obj->moveBy(-offset);
        view->pushCommand(new CommandMoveObject(view, offset));
    }
    if (state != ObjectPressed)
        return;
    // A dragged object moves without staying selected; a click selects it.
    if (dragStarted) {
        view->repaint(clearSelection());
    } else {
        for (Obj *obj : std::as_const(selection))
            obj->updateFrame(view);
    }
}

void SelectTool::releaseRotate(MainView *view)
{
    for (Obj *obj : std::as_const(selection)) {
        obj->updateFrame(view);
        obj->setAngle(obj->angle - rotationSum);
        obj->updateFrame(view);
    }
    if (gesture().lastPoint != gesture().pressPoint)
        view->pushCommand(new CommandRotateObject(view, rotationSum));
}

void SelectTool::releaseResize(MainView *view)
{
    target->updateFrame(view);
    const bool moved = gesture().lastPoint != gesture().pressPoint;
    target->normalize();
    const QRectF resized = target->rect;
    target->rect = savedRect;
    target->centre = savedRect.center();
    target->updateFrame(view);
    if (moved && selection.size() == 1)
        view->pushCommand(new CommandResizeObject(view, savedRect, resized));
}

void SelectTool::releaseLasso(MainView *view, const QPointF &pt)
{
    if (!gesture().pressed)
        return;
    gesture().pressed = false;
    if (raster) {
        placeRaster(view, pt);
    } else if (!dragStarted || !liftPixels(view, pt)) {
        // A click (or a lasso without area) drops any selection.
        view->repaint(outlineArea());
        reset();
        return;
    }
    antsTimer.start(antsInterval);
}

// Takes the pixels inside the outline out of the layer into a raster
// selection that floats, not yet on the page, where they were.
bool SelectTool::liftPixels(MainView *view, const QPointF &pt)
{
    QImage *layer = view->layer();
    view->repaint(outlineArea());
    if (freeform) {
        outline.lineTo(pt);
        outline.closeSubpath();
    } else {
        outline = QPainterPath();
        outline.addRect(QRectF(gesture().pressPoint, pt).normalized());
    }
    const QRectF bounds = outline.boundingRect();
    const QRect box = PixelRound::rect(bounds);
    if (!layer || box.isEmpty())
        return false;
    QImage *lifted = new QImage(liftedImage(*layer, box));
    view->repaint(outlineArea());
    {
        // The same fill the selection object uses when the layer is rebuilt.
        QPainter painter(layer);
        painter.setCompositionMode(QPainter::CompositionMode_DestinationOut);
        painter.fillPath(outline, Qt::black);
    }
    raster = new ObjSelect;
    raster->rect = bounds;
    raster->centre = bounds.center();
    raster->path = outline;
    raster->setImage(lifted);
    rasterOnPage = false;
    return true;
}

QImage SelectTool::liftedImage(const QImage &layer, const QRect &box) const
{
    if (!freeform)
        return DevicePixels::copy(layer, box);
    QImage image(DevicePixels::rect(box, layer.devicePixelRatio()).size(),
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(layer.devicePixelRatio());
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.translate(-box.topLeft());
    painter.setClipPath(outline);
    painter.drawImage(0, 0, layer);
    return image;
}

// The first drag puts the selection on the page; later ones move it there.
void SelectTool::placeRaster(MainView *view, const QPointF &pt)
{
    const QPointF offset = pt - gesture().pressPoint;
    raster->update(view);
    raster->rect = outline.boundingRect();
    raster->centre = raster->rect.center();
    if (qAbs(offset.x()) > 1e-12 || qAbs(offset.y()) > 1e-12) {
        outline.translate(offset);
        if (rasterOnPage) {
            view->pushCommand(new MoveCommand_Stroke(view, raster, offset));
        } else {
            raster->rect = outline.boundingRect();
            raster->centre = raster->rect.center();
            rasterOnPage = true; // the command owns it from here on
            view->pushCommand(new AddCommand(view, raster));
        }
    }
    raster->update(view);
}

void SelectTool::mouseDoubleClick(MainView *view, const QPointF &pt, QInputEvent *event)
{
    mousePress(view, pt, event);
}

void SelectTool::paint(QPainter *painter, const QRegion &)
{
    painter->save();
    if (state == Lasso) {
        paintLasso(painter);
    } else if (state != ObjectPressed) {
        for (const Obj *obj : std::as_const(selection))
            obj->paintFrame(painter);
    }
    painter->restore();
}

void SelectTool::paintLasso(QPainter *painter) const
{
    if (raster && raster->image)
        painter->drawImage(raster->rect, *raster->image);
    painter->setRenderHint(QPainter::Antialiasing, freeform);
    if (!raster && gesture().pressed) {
        painter->setPen(Qt::black);
        painter->setBrush(lassoFill);
        painter->drawPath(outline);
    } else if (raster && !gesture().pressed) {
        painter->setPen(Qt::white);
        painter->setBrush(Qt::NoBrush);
        painter->drawPath(outline);
        QPen ants(Qt::black, 1, Qt::DashLine, Qt::SquareCap, Qt::BevelJoin);
        ants.setDashOffset(dash);
        painter->setPen(ants);
        painter->setBrush(lassoFill);
        painter->drawPath(outline);
    }
}

void SelectTool::reset()
{
    cancelGesture();
    const QRect frames = clearSelection();
    if (canvas)
        canvas->repaint(frames);
    state = Idle;
    dragStarted = false;
    target = nullptr;
    rotationSum = 0;
    savedRect = QRectF();
    if (raster) {
        // The next press goes straight to the lasso.
        state = Lasso;
        dropRaster();
    }
    outline = QPainterPath();
    dash = firstDash;
    antsTimer.stop();
}

// Puts back what a drag in progress changed without a command, so that the
// page never holds a change its undo history does not know.
void SelectTool::cancelGesture()
{
    if (state < ObjectPressed || state > ResizePressed)
        return;
    const QPointF dragged = gesture().lastPoint - gesture().pressPoint;
    for (Obj *obj : std::as_const(selection)) {
        if (canvas)
            obj->updateFrame(canvas);
        if (state == RotatePressed) {
            obj->setAngle(obj->angle - rotationSum);
        } else if (state == ResizePressed) {
            obj->rect = savedRect;
            obj->centre = savedRect.center();
        } else if (dragStarted) {
            obj->moveBy(-dragged);
        }
    }
}

// Brings the layer back to what the page holds around the raster selection:
// the lifted pixels return where they came from unless a command moved them.
void SelectTool::dropRaster()
{
    if (canvas)
        raster->update(canvas);
    raster->rect = outline.boundingRect();
    raster->centre = raster->rect.center();
    if (canvas)
        canvas->updateObjectCache(canvas->currentPage(), raster->paintRect());
    if (!rasterOnPage)
        delete raster;
    raster = nullptr;
    rasterOnPage = false;
}

QRect SelectTool::outlineArea() const
{
    return PixelRound::rect(outline.boundingRect()).adjusted(-2, -2, 2, 2);
}

QRect SelectTool::clearSelection()
{
    QRect area;
    for (const Obj *obj : std::as_const(selection))
        area |= frameArea(obj);
    selection.clear();
    return area;
}

// Only the current tool is reset before an undo, so a selection made while
// another tool is current could outlive the objects it points to.
QRect SelectTool::addToSelection(Obj *obj)
{
    if (!obj || selection.contains(obj) || ToolKit::instance().currentTool() != this
        || (canvas && !canvas->currentPage()))
        return QRect();
    selection.append(obj);
    return frameArea(obj);
}

QRect SelectTool::removeFromSelection(Obj *obj)
{
    if (!selection.removeOne(obj))
        return QRect();
    return frameArea(obj);
}

void SelectTool::copySelection()
{
    if (selection.size() == 1)
        clipboard.reset(selection.first()->clone());
}

void SelectTool::cutSelection(MainView *view)
{
    copySelection();
    deleteSelection(view);
}

// Each paste lands at the same offset from the copied object.
void SelectTool::pasteClipboard(MainView *view)
{
    if (!clipboard || !view->currentPage())
        return;
    canvas = view;
    reset();
    state = Idle;
    Obj *copy = clipboard->clone();
    copy->moveBy(QPointF(10, 10));
    view->pushCommand(new AddCommand(view, copy));
    view->repaint(addToSelection(copy));
}

void SelectTool::slot_Update()
{
    dash -= 1;
    if (dash <= 0)
        dash = firstDash;
    if (canvas)
        canvas->repaint(outlineArea());
}
