#include "capturedlg.h"

#include "app/devicepixels.h"
#include "app/exactpointer.h"
#include "app/lang.h"
#include "app/resourcepixmap.h"
#include "app/scaledcursor.h"
#include "app/settledannouncement.h"
#include "arrowstep.h"
#include "captureoptionwidget.h"
#include "widgets/toolbarscale.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace {

const QColor DarkGrey(30, 30, 30);
const QColor LightGrey(230, 230, 230);
const QColor Cyan(0, 255, 255);
// The smallest distance between opposite edges of the rectangle.
constexpr int MinSpan = 15;
constexpr int HandleReach = 8;
const QSize BoxSize(220, 20);

// The logical pixel holding p.
QString pointCaption(const QPointF &p)
{
    return QStringLiteral("x: %1, y: %2").arg(qFloor(p.x())).arg(qFloor(p.y()));
}

} // namespace

CaptureDlg::CaptureDlg(int iMode, QPixmap *pScreenImage, QWidget *pParent,
                       const QPainterPath &previousArea)
    : FullScreenDialog(pParent, WholeDesktop)
    , captureMode(iMode)
    , screenImage(pScreenImage)
    , crossCursor(ScaledCursor::make(QStringLiteral(":/Cursor/Cross"), QPoint(11, 11)))
    , crossFindCursor(ScaledCursor::make(QStringLiteral(":/Cursor/CrossFind"), QPoint(11, 11)))
    , scalePicture(ResourcePixmap::load(QStringLiteral(":/Tools/Scale")))
{
    // A drag would otherwise be spoken at every mouse move.
    measurement = new SettledAnnouncement(
        this, [this] { return spokenMeasurement(); }, 400);
    QFont smaller = font();
    if (smaller.pointSizeF() > 0) {
        smaller.setPointSizeF(smaller.pointSizeF() / ToolbarScale::ui(this));
        setFont(smaller);
    }
    setMouseTracking(true);
    ExactPointer::watch();
    optionPanel = new CaptureOptionWidget(this);
    lastPoint = DevicePixels::position(this, ExactPointer::cursorPosition());

    if (captureMode == Freeform) {
        optionPanel->hide();
        setCursor(crossCursor);
        loupe.place(lastPoint.toPoint(), screenArea(lastPoint.toPoint()));
        measurement->changed();
        return;
    }
    if (captureMode == PreviousArea) {
        area = previousArea;
        marked = area.boundingRect().toRect();
    } else {
        // In the middle of the screen the toolbar is on.
        const QPoint middle = currentArea().topLeft()
            + QPoint(currentArea().width() / 2, currentArea().height() / 2);
        marked.setCoords(middle.x() - 150, middle.y() - 100, middle.x() + 149, middle.y() + 99);
    }
    boxPos = QPoint(marked.left(), marked.bottom() + 1);
    placeOptionPanel();
}

void CaptureDlg::slot_Captopage()
{
    finish(2);
}

void CaptureDlg::slot_Captofile()
{
    finish(3);
}

void CaptureDlg::slot_Captoclip()
{
    finish(4);
}

void CaptureDlg::finish(int iCode)
{
    if (captureMode == Rectangle) {
        area = QPainterPath();
        area.addRect(marked.left(), marked.top(), marked.width(), marked.height());
    }
    done(iCode);
}

QString CaptureDlg::spokenMeasurement() const
{
    const QRect r = captureMode == Freeform && !closed ? freeformBounds() : marked;
    if (captureMode == Freeform && r.isNull()) {
        return Lang::single("Accessible", QStringLiteral("x %1, y %2"))
            .arg(qFloor(lastPoint.x()))
            .arg(qFloor(lastPoint.y()));
    }
    if (r.isNull())
        return QString();
    return Lang::single("Accessible", QStringLiteral("x %1, y %2, width %3, height %4"))
        .arg(r.left())
        .arg(r.top())
        .arg(r.width())
        .arg(r.height());
}

// Beside the area on the right, else on the left, else against the right
// edge; always wholly on the screen holding the area's middle, so that the
// outputs stay reachable.
void CaptureDlg::placeOptionPanel()
{
    measurement->changed();
    const QRect screen = screenArea(marked.center());
    const int panelWidth = optionPanel->width();
    int x = marked.right() + 4;
    int y = marked.top() + 10;
    if (x + panelWidth > screen.right() + 1)
        x = marked.left() - 2 - panelWidth;
    if (x < screen.left())
        x = screen.right() + 1 - panelWidth;
    y = qMax(screen.top(), qMin(y, screen.bottom() + 1 - optionPanel->height()));
    optionPanel->move(x, y);
    optionPanel->show();
}

QPoint CaptureDlg::handlePoint(int iHandle) const
{
    switch (iHandle) {
    case TopLeft:
        return marked.topLeft();
    case TopRight:
        return marked.topRight();
    case BottomRight:
        return marked.bottomRight();
    case BottomLeft:
        return marked.bottomLeft();
    default:
        return marked.center();
    }
}

QRect CaptureDlg::handleSquare(int iHandle) const
{
    const QPoint c = handlePoint(iHandle);
    const QPoint reach(HandleReach, HandleReach);
    return QRect(c - reach, c + reach);
}

int CaptureDlg::handleAt(const QPoint &p) const
{
    for (int handle = TopLeft; handle <= BottomLeft; ++handle) {
        if (handleSquare(handle).contains(p))
            return handle;
    }
    return marked.contains(p) ? Body : NoHandle;
}

void CaptureDlg::setHoverCursor(const QPoint &p)
{
    const int handle = handleAt(p);
    if (handle >= TopLeft && handle <= BottomLeft)
        setCursor(crossCursor);
    else
        setCursor(Qt::ArrowCursor);
}

void CaptureDlg::mousePressEvent(QMouseEvent *pEvent)
{
    if (pEvent->button() != Qt::LeftButton)
        return;
    if (captureMode == Rectangle)
        rectanglePress(pEvent->position().toPoint());
    else if (captureMode == Freeform)
        freeformPress(DevicePixels::position(this, pEvent));
}

void CaptureDlg::mouseMoveEvent(QMouseEvent *pEvent)
{
    if (captureMode == Rectangle)
        rectangleMove(pEvent);
    else if (captureMode == Freeform)
        freeformMove(pEvent);
}

void CaptureDlg::mouseReleaseEvent(QMouseEvent *pEvent)
{
    if (pEvent->button() == Qt::RightButton) {
        reject();
        return;
    }
    if (captureMode == Rectangle)
        rectangleRelease(pEvent->position().toPoint());
    else if (captureMode == Freeform)
        freeformRelease(DevicePixels::position(this, pEvent));
    else
        update();
}

void CaptureDlg::mouseDoubleClickEvent(QMouseEvent *pEvent)
{
    // Elsewhere the second click of a double-click is a plain press.
    if (captureMode != Freeform)
        mousePressEvent(pEvent);
    else if (pEvent->button() == Qt::LeftButton)
        freeformDoubleClick(DevicePixels::position(this, pEvent));
}

void CaptureDlg::rectanglePress(const QPoint &p)
{
    pressed = true;
    pressPoint = p;
    currentHandle = handleAt(p);
    if (currentHandle >= TopLeft && currentHandle <= BottomLeft) {
        dragAnchor = handlePoint(currentHandle);
        pressPoint = dragAnchor;
        setCursor(crossCursor);
    } else {
        setCursor(Qt::ArrowCursor);
    }
    optionPanel->hide();
    update();
}

void CaptureDlg::rectangleMove(QMouseEvent *pEvent)
{
    const QPoint p = pEvent->position().toPoint();
    if (!pressed) {
        setHoverCursor(p);
        return;
    }
    if (currentHandle == NoHandle)
        return;
    dragHandle(currentHandle, p);
    placeCoordinatesBox();
    loupe.place(handlePoint(currentHandle), screenArea(handlePoint(currentHandle)));
    update();
}

void CaptureDlg::rectangleRelease(const QPoint &p)
{
    pressed = false;
    pressPoint = QPoint(0, 0);
    currentHandle = NoHandle;
    setHoverCursor(p);
    placeOptionPanel();
    update();
}

void CaptureDlg::dragHandle(int iHandle, const QPoint &p)
{
    const QPoint d = p - pressPoint;
    if (iHandle == Body) {
        moveBody(d);
        pressPoint = p;
    } else {
        moveCorner(iHandle, dragAnchor + d);
    }
}

// Corners stay on the screen (a drag may leave it, a key may push past it)
// and keep MinSpan from the opposite edges by pushing back the moved edge.
void CaptureDlg::moveCorner(int iHandle, const QPoint &to)
{
    const int x = qBound(0, to.x(), width() - 1);
    const int y = qBound(0, to.y(), height() - 1);
    int x1, y1, x2, y2;
    marked.getCoords(&x1, &y1, &x2, &y2);
    if (iHandle == TopLeft || iHandle == BottomLeft)
        x1 = qMin(x, x2 - MinSpan);
    else
        x2 = qMax(x, x1 + MinSpan);
    if (iHandle == TopLeft || iHandle == TopRight)
        y1 = qMin(y, y2 - MinSpan);
    else
        y2 = qMax(y, y1 + MinSpan);
    marked.setCoords(x1, y1, x2, y2);
}

void CaptureDlg::moveBody(const QPoint &d)
{
    const int dx = qBound(-marked.left(), d.x(), width() - 1 - marked.right());
    const int dy = qBound(-marked.top(), d.y(), height() - 1 - marked.bottom());
    marked.translate(dx, dy);
}

void CaptureDlg::placeCoordinatesBox()
{
    measurement->changed();
    const QRect screen = screenArea(marked.center());
    const int right = screen.right() + 1;
    const int bottom = screen.bottom() + 1;
    const int x = marked.left() >= right - 219 ? right - BoxSize.width() : marked.left();
    int y = marked.bottom() + 1;
    if (marked.bottom() >= bottom - 19)
        y = marked.top() > screen.top() + 19 ? marked.top() - 20 : marked.bottom() - 20;
    boxPos = QPoint(x, y);
}

// Return takes the area as a new page, the first of the outputs.
void CaptureDlg::keyPressEvent(QKeyEvent *pEvent)
{
    const bool confirm = pEvent->key() == Qt::Key_Return || pEvent->key() == Qt::Key_Enter;
    if (confirm && (captureMode != Freeform || closed)) {
        slot_Captopage();
        return;
    }
    if (captureMode == Freeform && !closed && !pressed) {
        freeformKey(pEvent);
        return;
    }
    FullScreenDialog::keyPressEvent(pEvent);
}

void CaptureDlg::freeformKey(QKeyEvent *pEvent)
{
    const QPoint step = ArrowStep(pEvent);
    if (!step.isNull()) {
        lastPoint = QPointF(qBound(0.0, lastPoint.x() + step.x(), width() - 1.0),
                            qBound(0.0, lastPoint.y() + step.y(), height() - 1.0));
        loupe.place(lastPoint.toPoint(), screenArea(lastPoint.toPoint()));
        measurement->changed();
        update();
    } else if (pEvent->key() == Qt::Key_Space) {
        addCorner();
    } else if (pEvent->key() == Qt::Key_Return || pEvent->key() == Qt::Key_Enter) {
        // A shape needs three corners (the start and two more) to hold anything.
        if (area.elementCount() >= 3)
            closeFreeform(startPoint());
    } else {
        FullScreenDialog::keyPressEvent(pEvent);
    }
}

void CaptureDlg::addCorner()
{
    if (area.elementCount() == 0) {
        area.moveTo(lastPoint);
    } else if (area.elementCount() >= 3 && onStartSquare(lastPoint)) {
        closeFreeform(startPoint());
        return;
    } else {
        area.lineTo(lastPoint);
    }
    measurement->changed();
    update();
}

void CaptureDlg::keyReleaseEvent(QKeyEvent *pEvent)
{
    const QPoint step = ArrowStep(pEvent);
    const QPoint resize = ArrowResize(pEvent);
    if (captureMode != Rectangle || (step.isNull() && resize.isNull())) {
        FullScreenDialog::keyReleaseEvent(pEvent);
        return;
    }
    if (!step.isNull())
        moveBody(step);
    else
        moveCorner(BottomRight, handlePoint(BottomRight) + resize);
    placeCoordinatesBox();
    placeOptionPanel();
    update();
}

QPointF CaptureDlg::startPoint() const
{
    const QPainterPath::Element start = area.elementAt(0);
    return QPointF(start.x, start.y);
}

// The four pixels wide marker, open at its right and bottom edges.
bool CaptureDlg::onStartSquare(const QPointF &p) const
{
    const QPointF d = p - startPoint();
    return d.x() >= -2 && d.x() < 2 && d.y() >= -2 && d.y() < 2;
}

void CaptureDlg::freeformPress(const QPointF &p)
{
    if (closed)
        return;
    pressed = true;
    // A path holding only its start counts as empty to QPainterPath.
    if (area.elementCount() == 0)
        area.moveTo(p);
    lastPoint = p;
    optionPanel->hide();
    update();
}

void CaptureDlg::freeformMove(QMouseEvent *pEvent)
{
    if (closed)
        return;
    const QPointF p = DevicePixels::position(this, pEvent);
    if (area.elementCount() > 1)
        setCursor(onStartSquare(p) ? crossFindCursor : crossCursor);
    if (pressed)
        area.lineTo(p);
    lastPoint = p;
    loupe.place(p.toPoint(), screenArea(p.toPoint()));
    measurement->changed();
    update();
}

// A release ends a freehand stretch or a clicked polygon side; on the start
// point it closes the shape exactly there.
void CaptureDlg::freeformRelease(const QPointF &p)
{
    if (closed || !pressed)
        return;
    pressed = false;
    lastPoint = p;
    area.lineTo(p);
    if (area.elementCount() > 1 && onStartSquare(p)) {
        closed = true;
        area.lineTo(area.elementAt(0));
    }
    setCursor(crossCursor);
    marked = area.boundingRect().toRect();
    measurement->changed();
    if (closed)
        placeOptionPanel();
    update();
}

void CaptureDlg::freeformDoubleClick(const QPointF &p)
{
    if (closed || area.elementCount() == 0)
        return;
    pressed = false;
    closeFreeform(p);
}

void CaptureDlg::closeFreeform(const QPointF &p)
{
    closed = true;
    lastPoint = p;
    area.lineTo(p);
    marked = area.boundingRect().toRect();
    placeOptionPanel();
    update();
}

QRect CaptureDlg::freeformBounds() const
{
    if (area.elementCount() == 0)
        return QRect();
    QPainterPath withCursor = area;
    withCursor.lineTo(lastPoint);
    return withCursor.boundingRect().toRect();
}

void CaptureDlg::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (screenImage)
        painter.drawPixmap(QPoint(0, 0), *screenImage);
    if (captureMode == Rectangle)
        paintRectangle(painter);
    else if (captureMode == Freeform)
        paintFreeform(painter);
    else
        paintPreviousArea(painter);
}

void CaptureDlg::darkenOutside(QPainter &painter, const QPainterPath &inside) const
{
    QPainterPath outside;
    outside.setFillRule(Qt::OddEvenFill);
    outside.addRect(rect());
    outside.addPath(inside);
    painter.fillPath(outside, QColor(0, 0, 0, 40));
}

void CaptureDlg::paintLoupe(QPainter &painter, const QPointF &p) const
{
    if (screenImage)
        loupe.paint(painter, *screenImage, p, pointCaption(p));
}

void CaptureDlg::paintRectangle(QPainter &painter) const
{
    QPainterPath inside;
    inside.addRect(marked);
    darkenOutside(painter, inside);

    const int spanX = marked.right() - marked.left();
    const int spanY = marked.bottom() - marked.top();
    painter.setBrush(Qt::NoBrush);
    painter.setOpacity(0.5);
    painter.setPen(LightGrey);
    painter.drawRect(QRect(marked.left() + 1, marked.top() + 1, spanX - 2, spanY - 2));
    painter.setOpacity(1);
    painter.setPen(DarkGrey);
    painter.drawRect(QRect(marked.topLeft(), QSize(spanX, spanY)));

    const QRect box(boxPos, BoxSize);
    painter.fillRect(box, DarkGrey);
    painter.drawRect(QRect(boxPos, BoxSize - QSize(1, 1)));
    painter.setPen(LightGrey);
    painter.drawText(box, Qt::AlignCenter,
                     QStringLiteral("x: %1, y: %2, w: %3, h: %4")
                         .arg(marked.left())
                         .arg(marked.top())
                         .arg(marked.width())
                         .arg(marked.height()));

    if (pressed && currentHandle >= TopLeft && currentHandle <= BottomLeft)
        paintLoupe(painter, handlePoint(currentHandle));
    if (currentHandle == NoHandle) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform, logicalDpiX() > 96);
        for (int handle = TopLeft; handle <= BottomLeft; ++handle)
            painter.drawPixmap(handleSquare(handle), scalePicture);
    }
}

void CaptureDlg::paintFreeform(QPainter &painter) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setCompositionMode(QPainter::CompositionMode_Difference);
    painter.setPen(QPen(Cyan, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(area);
    if (area.elementCount() > 0) {
        const QPainterPath::Element last = area.elementAt(area.elementCount() - 1);
        painter.drawLine(QPointF(last.x, last.y), lastPoint);
    }
    painter.restore();

    if (area.elementCount() > 0) {
        const QPainterPath::Element start = area.elementAt(0);
        const QRect marker(int(start.x - 2.5), int(start.y - 2.5), 4, 4);
        painter.fillRect(marker.adjusted(0, 0, 1, 1), Qt::white);
        painter.setPen(DarkGrey);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(marker);
    }
    if (!closed)
        paintLoupe(painter, lastPoint);
}

void CaptureDlg::paintPreviousArea(QPainter &painter) const
{
    darkenOutside(painter, area);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(DarkGrey, 2, Qt::DotLine, Qt::SquareCap, Qt::BevelJoin));
    painter.drawPath(area);
}
