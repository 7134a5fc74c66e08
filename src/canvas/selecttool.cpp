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

void SelectTool::begin(ToolHost *host, const Input &input)
{
    canvas = host;
    dragStarted = false;
    dragPoint = input.point;
    target = nullptr;
    rotationSum = 0;
    savedRect = QRectF();
    // Any state left over here is a raster selection that was dropped or is
    // still held: the press belongs to the lasso.
    if (state != Idle || (!pressHandle(input.point) && !pressObject(host, input))) {
        host->repaint(clearSelection());
        state = Lasso;
        lassoPress(input);
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

bool SelectTool::pressObject(ToolHost *host, const Input &input)
{
    target = host->objectAt(input.point);
    if (!target)
        return false;
    savedRect = target->rect;
    if (selection.contains(target)) {
        state = SelectionPressed;
    } else {
        state = ObjectPressed;
        host->repaint(clearSelection());
        host->repaint(addToSelection(target));
    }
    if (input.modifiers == Qt::ControlModifier && selection.size() == 1)
        duplicateTarget(host);
    return true;
}

// The copy takes the source's place in the selection, so the drag that
// follows moves the copy and leaves the source where it was.
void SelectTool::duplicateTarget(ToolHost *host)
{
    Obj *copy = target->clone();
    host->pushCommand(new AddCommand(host, copy));
    host->repaint(clearSelection());
    host->repaint(addToSelection(copy));
    target = copy;
}

void SelectTool::lassoPress(const Input &input)
{
    dash = firstDash;
    antsTimer.stop();
    if (raster && outline.contains(input.point))
        return;
    if (raster)
        reset();
    freeform = !input.modifiers.testFlag(Qt::ShiftModifier);
    if (freeform && outline.isEmpty())
        outline.moveTo(input.point);
}

void SelectTool::move(ToolHost *host, const Input &input)
{
    canvas = host;
    const QPointF pt = input.point;
    switch (state) {
    case Idle:
        hoverCursor(host, pt);
        break;
    case ObjectPressed:
    case SelectionPressed:
        moveObjects(host, pt);
        return;
    case RotatePressed:
        rotateObjects(host, pt);
        break;
    case ResizePressed:
        resizeTarget(host, pt);
        break;
    case Lasso:
        lassoMove(host, pt);
        break;
    case DeletePressed:
        break;
    }
    dragPoint = pt;
}

void SelectTool::hover(ToolHost *host, const Input &input)
{
    canvas = host;
    if (state == Idle)
        hoverCursor(host, input.point);
}

void SelectTool::hoverCursor(ToolHost *host, const QPointF &pt)
{
    for (Obj *obj : std::as_const(selection)) {
        const int handle = obj->hitTest(pt, true);
        if (handle == ResizeHandle && selection.size() > 1)
            continue;
        if (handle > 0) {
            host->showCursor(obj->handleCursor(handle));
            return;
        }
    }
    host->showCursor(host->objectAt(pt) ? Qt::SizeAllCursor : Qt::ArrowCursor);
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
        dragPoint = gesture().pressPoint;
    }
    return true;
}

void SelectTool::moveObjects(ToolHost *host, const QPointF &pt)
{
    // Past the canvas edge the objects wait at the last place inside.
    if (!host->transform().pageRect().contains(pt.toPoint())) {
        host->showCursor(Qt::ForbiddenCursor);
        return;
    }
    host->showCursor(Qt::SizeAllCursor);
    if (dragStartedAt(pt)) {
        const QPointF delta = pt - dragPoint;
        for (Obj *obj : std::as_const(selection)) {
            obj->updateFrame(host);
            obj->moveBy(delta);
            obj->updateFrame(host);
        }
    }
    dragPoint = pt;
}

// Every selected object turns by the angle the handle gave the target, each
// about its own centre.
void SelectTool::rotateObjects(ToolHost *host, const QPointF &pt)
{
    const float before = target->angle;
    target->updateFrame(host);
    target->dragHandle(RotateHandle, pt, false);
    target->updateFrame(host);
    const float turn = target->angle - before;
    rotationSum += turn;
    for (Obj *obj : std::as_const(selection)) {
        if (obj == target)
            continue;
        obj->updateFrame(host);
        obj->setAngle(obj->angle + turn);
        obj->updateFrame(host);
    }
}

void SelectTool::resizeTarget(ToolHost *host, const QPointF &pt)
{
    target->updateFrame(host);
    target->dragHandle(ResizeHandle, pt, false);
    target->updateFrame(host);
}

void SelectTool::lassoMove(ToolHost *host, const QPointF &pt)
{
    if (raster)
        moveRaster(host, pt);
    else if (dragStartedAt(pt))
        growOutline(host, pt);
}

void SelectTool::growOutline(ToolHost *host, const QPointF &pt)
{
    host->repaint(outlineArea());
    if (freeform) {
        outline.lineTo(pt);
    } else {
        outline = QPainterPath();
        outline.addRect(QRectF(gesture().pressPoint, pt).normalized());
    }
    host->repaint(outlineArea());
}

void SelectTool::moveRaster(ToolHost *host, const QPointF &pt)
{
    raster->update(host);
    raster->rect.translate(pt - dragPoint);
    raster->centre = raster->rect.center();
    raster->update(host);
}

void SelectTool::end(ToolHost *host, const Input &input)
{
    canvas = host;
    switch (state) {
    case DeletePressed:
        deleteSelection(host);
        break;
    case ObjectPressed:
    case SelectionPressed:
        releaseMove(host);
        break;
    case RotatePressed:
        releaseRotate(host);
        break;
    case ResizePressed:
        releaseResize(host);
        break;
    case Lasso:
        releaseLasso(host, input.point);
        return;
    case Idle:
        break;
    }
    state = Idle;
}

// What the drag changed goes back; a selection made by the press stays.
void SelectTool::cancel(ToolHost *host)
{
    canvas = host;
    putBack();
    if (state == Lasso)
        cancelLasso(host);
    else
        state = Idle;
}

// A lasso being drawn goes as a click drops it; a raster selection being
// dragged goes back where the drag found it, still held.
void SelectTool::cancelLasso(ToolHost *host)
{
    if (!raster) {
        host->repaint(outlineArea());
        reset();
        return;
    }
    raster->update(host);
    raster->rect = outline.boundingRect();
    raster->centre = raster->rect.center();
    raster->update(host);
    antsTimer.start(antsInterval);
}

void SelectTool::deleteSelection(ToolHost *host)
{
    if (selection.size() == 1)
        host->pushCommand(new CommandDelObject(host, selection));
}

void SelectTool::releaseMove(ToolHost *host)
{
    if (dragStarted) {
        const QPointF offset = dragPoint - gesture().pressPoint;
        for (Obj *obj : std::as_const(selection))
            obj->moveBy(-offset);
        host->pushCommand(new CommandMoveObject(host, offset));
    }
    if (state != ObjectPressed)
        return;
    // A dragged object moves without staying selected; a click selects it.
    if (dragStarted) {
        host->repaint(clearSelection());
    } else {
        for (Obj *obj : std::as_const(selection))
            obj->updateFrame(host);
    }
}

void SelectTool::releaseRotate(ToolHost *host)
{
    for (Obj *obj : std::as_const(selection)) {
        obj->updateFrame(host);
        obj->setAngle(obj->angle - rotationSum);
        obj->updateFrame(host);
    }
    if (dragPoint != gesture().pressPoint)
        host->pushCommand(new CommandRotateObject(host, rotationSum));
}

void SelectTool::releaseResize(ToolHost *host)
{
    target->updateFrame(host);
    const bool moved = dragPoint != gesture().pressPoint;
    target->normalize();
    const QRectF resized = target->rect;
    target->rect = savedRect;
    target->centre = savedRect.center();
    target->updateFrame(host);
    if (moved && selection.size() == 1)
        host->pushCommand(new CommandResizeObject(host, savedRect, resized));
}

void SelectTool::releaseLasso(ToolHost *host, const QPointF &pt)
{
    if (raster) {
        placeRaster(host, pt);
    } else if (!dragStarted || !liftPixels(host, pt)) {
        // A click (or a lasso without area) drops any selection.
        host->repaint(outlineArea());
        reset();
        return;
    }
    antsTimer.start(antsInterval);
}

// Takes the pixels inside the outline out of the layer into a raster
// selection that floats, not yet on the page, where they were.
bool SelectTool::liftPixels(ToolHost *host, const QPointF &pt)
{
    const QImage *layer = host->layer();
    host->repaint(outlineArea());
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
    host->repaint(outlineArea());
    // The same fill the selection object uses when the layer is rebuilt.
    host->paintLayer([this](QPainter &painter) {
        painter.setCompositionMode(QPainter::CompositionMode_DestinationOut);
        painter.fillPath(outline, Qt::black);
    });
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
void SelectTool::placeRaster(ToolHost *host, const QPointF &pt)
{
    const QPointF offset = pt - gesture().pressPoint;
    raster->update(host);
    raster->rect = outline.boundingRect();
    raster->centre = raster->rect.center();
    if (qAbs(offset.x()) > 1e-12 || qAbs(offset.y()) > 1e-12) {
        outline.translate(offset);
        if (rasterOnPage) {
            host->pushCommand(new MoveCommand_Stroke(host, raster, offset));
        } else {
            raster->rect = outline.boundingRect();
            raster->centre = raster->rect.center();
            rasterOnPage = true; // the command owns it from here on
            host->pushCommand(new AddCommand(host, raster));
        }
    }
    raster->update(host);
}

void SelectTool::mouseDoubleClick(ToolHost *host, const QPointF &pt, QInputEvent *event)
{
    mousePress(host, pt, event);
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
    if (!raster && gesture().active) {
        painter->setPen(Qt::black);
        painter->setBrush(lassoFill);
        painter->drawPath(outline);
    } else if (raster && !gesture().active) {
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
    putBack();
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
void SelectTool::putBack()
{
    if (state < ObjectPressed || state > ResizePressed)
        return;
    const QPointF dragged = dragPoint - gesture().pressPoint;
    for (Obj *obj : std::as_const(selection)) {
        if (canvas)
            obj->updateFrame(canvas.get());
        if (state == RotatePressed) {
            obj->setAngle(obj->angle - rotationSum);
        } else if (state == ResizePressed) {
            obj->rect = savedRect;
            obj->centre = savedRect.center();
        } else if (dragStarted) {
            obj->moveBy(-dragged);
        }
        if (canvas)
            obj->updateFrame(canvas.get());
    }
}

// Brings the layer back to what the page holds around the raster selection:
// the lifted pixels return where they came from unless a command moved them.
void SelectTool::dropRaster()
{
    if (canvas)
        raster->update(canvas.get());
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

void SelectTool::cutSelection(ToolHost *host)
{
    copySelection();
    deleteSelection(host);
}

// Each paste lands at the same offset from the copied object.
void SelectTool::pasteClipboard(ToolHost *host)
{
    if (!clipboard || !host->currentPage())
        return;
    canvas = host;
    reset();
    state = Idle;
    Obj *copy = clipboard->clone();
    copy->moveBy(QPointF(10, 10));
    host->pushCommand(new AddCommand(host, copy));
    host->repaint(addToSelection(copy));
}

void SelectTool::slot_Update()
{
    dash -= 1;
    if (dash <= 0)
        dash = firstDash;
    if (canvas)
        canvas->repaint(outlineArea());
}
