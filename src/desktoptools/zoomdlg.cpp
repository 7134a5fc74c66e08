#include "zoomdlg.h"

#include "app/devicepixels.h"
#include "app/lang.h"
#include "app/resourcepixmap.h"
#include "app/settledannouncement.h"
#include "arrowstep.h"
#include "widgets/closebtn.h"
#include "zoommemory.h"
#include "zoomoptionwidget.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTimer>
#include <QWheelEvent>

namespace {
const QColor DarkGrey(30, 30, 30);
const QColor LightGrey(230, 230, 230);
const double MinFactor = 1.0;
const double MaxFactor = 10.0;
const double FactorStep = 0.5;
const int MinFrameSide = 16;
const int Band = 7;
} // namespace

ZoomDlg::ZoomDlg(QPixmap *pScreenImage, ZoomMemory *pMemory, QWidget *pParent)
    : FullScreenDialog(pParent)
    , grip(ResourcePixmap::load(QStringLiteral(":/Tools/Resize")))
    , screenImage(pScreenImage)
    , memory(pMemory)
    , announcement(new SettledAnnouncement(
          this, [this] { return spokenView(); }, 400))
{
    setMouseTracking(true);
    const QPoint middle(width() / 2, height() / 2);
    frameRect = QRect(middle - QPoint(240, 180), middle + QPoint(239, 179));
    panel = new ZoomOptionWidget(memory->fullScreen, this);
    Lang::release();
    using B = ZoomOptionWidget;
    connect(panel->closeButton(), &QAbstractButton::clicked, this, &QDialog::reject);
    connect(panel->button(B::Captopage), &QAbstractButton::clicked, this, &ZoomDlg::slot_Captopage);
    connect(panel->button(B::Captofile), &QAbstractButton::clicked, this, &ZoomDlg::slot_Captofile);
    connect(panel->button(B::Captoclip), &QAbstractButton::clicked, this, &ZoomDlg::slot_Captoclip);
    connect(panel->button(B::ZoomIn), &QAbstractButton::clicked, this, &ZoomDlg::slot_ZoomIn);
    connect(panel->button(B::ZoomOut), &QAbstractButton::clicked, this, &ZoomDlg::slot_ZoomOut);
    connect(panel->button(B::ZoomAll), &QAbstractButton::clicked, this, &ZoomDlg::slot_ZoomAll);
    if (memory->fullScreen)
        clampPan();
    placePanel();
}

void ZoomDlg::slot_Captopage()
{
    finish(2);
}

void ZoomDlg::slot_Captofile()
{
    finish(3);
}

void ZoomDlg::slot_Captoclip()
{
    finish(4);
}

// The picture the user sees: the whole enlarged view in full-screen mode, the
// frame's content otherwise; what lies beyond the screen stays transparent.
void ZoomDlg::finish(int iCode)
{
    const bool full = memory->fullScreen;
    // At the screen picture's resolution, so that a scaled screen loses nothing.
    const qreal ratio = screenImage->devicePixelRatio();
    output = QPixmap(DevicePixels::size(full ? size() : frameRect.size(), ratio));
    output.setDevicePixelRatio(ratio);
    output.fill(Qt::transparent);
    QPainter painter(&output);
    if (full) {
        const double f = memory->factor;
        painter.drawPixmap(QRect(int(pan.x()), int(pan.y()), int(f * width()), int(f * height())),
                           *screenImage);
    } else {
        painter.drawPixmap(enlargedTarget().translated(-frameRect.topLeft()), *screenImage,
                           toImage(frameRect));
    }
    painter.end();
    done(iCode);
}

void ZoomDlg::slot_ZoomIn()
{
    zoomBy(FactorStep);
}

void ZoomDlg::slot_ZoomOut()
{
    zoomBy(-FactorStep);
}

void ZoomDlg::zoomBy(double delta)
{
    const double next = memory->factor + delta;
    if (next >= MinFactor && next <= MaxFactor)
        memory->factor = next;
    ++labelCount;
    QTimer::singleShot(1000, this, &ZoomDlg::slot_HideScale);
    if (memory->fullScreen)
        clampPan();
    announcement->changed();
    update();
}

QString ZoomDlg::spokenView() const
{
    const QString zoom
        = Lang::tr("Accessible", QStringLiteral("zoom %1 times")).arg(memory->factor);
    const QString view = memory->fullScreen
        ? Lang::tr("Accessible", QStringLiteral("Full screen"))
        : Lang::tr("Accessible", QStringLiteral("x %1, y %2, width %3, height %4"))
              .arg(frameRect.left())
              .arg(frameRect.top())
              .arg(frameRect.width())
              .arg(frameRect.height());
    Lang::release();
    return view + QStringLiteral(", ") + zoom;
}

void ZoomDlg::slot_ZoomAll()
{
    memory->fullScreen = !memory->fullScreen;
    panel->button(ZoomOptionWidget::ZoomAll)->setChecked(memory->fullScreen);
    if (memory->fullScreen)
        clampPan();
    update();
    placePanel();
}

void ZoomDlg::slot_HideScale()
{
    --labelCount;
    update();
}

void ZoomDlg::clampPan()
{
    const double reach = memory->factor - 1;
    pan.setX(qBound(-reach * width(), pan.x(), 0.0));
    pan.setY(qBound(-reach * height(), pan.y(), 0.0));
}

void ZoomDlg::placePanel()
{
    announcement->changed();
    QPoint p;
    if (memory->fullScreen) {
        p = QPoint(width() - 2 - panel->width(), 2);
    } else {
        p = QPoint(frameRect.right() + 3, frameRect.top());
        if (p.x() + panel->width() > width())
            p.setX(frameRect.left() - 2 - panel->width());
        if (p.x() < 0)
            p.setX(width() - panel->width());
        // A frame moved off the bottom must not take the panel with it.
        p.setY(qMax(0, qMin(p.y(), height() - panel->height())));
    }
    panel->move(p);
    panel->show();
}

QRect ZoomDlg::gripRect() const
{
    return QRect(frameRect.bottomRight() - QPoint(16, 16), frameRect.bottomRight() - QPoint(1, 1));
}

QRectF ZoomDlg::enlargedTarget() const
{
    const double f = memory->factor;
    const double w = frameRect.width();
    const double h = frameRect.height();
    return QRectF(frameRect.left() - (f - 1) * w / 2, frameRect.top() - (f - 1) * h / 2, f * w,
                  f * h);
}

QRectF ZoomDlg::toImage(const QRectF &dialogRect) const
{
    // The picture may hold more pixels than the dialog on a scaled screen.
    const double sx = double(screenImage->width()) / qMax(1, width());
    const double sy = double(screenImage->height()) / qMax(1, height());
    return QRectF(dialogRect.x() * sx, dialogRect.y() * sy, dialogRect.width() * sx,
                  dialogRect.height() * sy);
}

void ZoomDlg::mousePressEvent(QMouseEvent *pEvent)
{
    if (pEvent->button() != Qt::LeftButton)
        return;
    const QPoint p = pEvent->position().toPoint();
    dragging = true;
    lastPoint = p;
    if (memory->fullScreen)
        return;
    if (gripRect().contains(p)) {
        dragKind = Resize;
        pressSize = frameRect.size();
    } else if (frameRect.contains(p)) {
        dragKind = Move;
    } else {
        return;
    }
    panel->hide();
}

void ZoomDlg::mouseMoveEvent(QMouseEvent *pEvent)
{
    const QPoint p = pEvent->position().toPoint();
    if (!dragging) {
        if (!memory->fullScreen)
            setHoverCursor(p);
    } else if (memory->fullScreen) {
        pan += p - lastPoint;
        lastPoint = p;
        clampPan();
        update();
    } else {
        dragFrame(p);
    }
}

void ZoomDlg::dragFrame(const QPoint &p)
{
    const QRect old = frameRect;
    if (dragKind == Resize) {
        frameRect.setWidth(qMax(MinFrameSide, pressSize.width() + p.x() - lastPoint.x()));
        frameRect.setHeight(qMax(MinFrameSide, pressSize.height() + p.y() - lastPoint.y()));
    } else if (dragKind == Move) {
        frameRect.translate(p - lastPoint);
        lastPoint = p;
    }
    if (frameRect != old) {
        update(old.adjusted(-1, -1, 1, 1));
        update(frameRect.adjusted(-1, -1, 1, 1));
    }
}

void ZoomDlg::setHoverCursor(const QPoint &p)
{
    setCursor(gripRect().contains(p) ? Qt::SizeFDiagCursor : Qt::ArrowCursor);
}

void ZoomDlg::mouseReleaseEvent(QMouseEvent *pEvent)
{
    if (pEvent->button() == Qt::RightButton) {
        reject();
        return;
    }
    dragging = false;
    dragKind = NoDrag;
    if (!memory->fullScreen)
        setHoverCursor(pEvent->position().toPoint());
    placePanel();
}

void ZoomDlg::wheelEvent(QWheelEvent *pEvent)
{
    pEvent->accept();
    if (!memory->fullScreen)
        return;
    pan += QPointF(pEvent->angleDelta()) / 8.0;
    clampPan();
    update();
}

void ZoomDlg::keyReleaseEvent(QKeyEvent *pEvent)
{
    const QPoint d = ArrowStep(pEvent);
    const QPoint resize = ArrowResize(pEvent);
    if (!d.isNull()) {
        if (memory->fullScreen) {
            // The view moves towards the arrow, so the picture moves against it.
            pan -= d;
            clampPan();
        } else {
            frameRect.translate(d);
        }
        update();
    } else if (!resize.isNull()) {
        resizeByKeys(resize);
    }
    placePanel();
}

// The full-screen view has no frame: its size is the zoom.
void ZoomDlg::resizeByKeys(const QPoint &change)
{
    if (memory->fullScreen) {
        if (change.x() + change.y() > 0)
            slot_ZoomIn();
        else
            slot_ZoomOut();
        return;
    }
    frameRect.setWidth(qMax(MinFrameSide, frameRect.width() + change.x()));
    frameRect.setHeight(qMax(MinFrameSide, frameRect.height() + change.y()));
    update();
}

void ZoomDlg::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (memory->fullScreen) {
        const double f = memory->factor;
        painter.drawPixmap(QRect(int(pan.x()), int(pan.y()), int(f * width()), int(f * height())),
                           *screenImage);
    } else {
        paintFrameMode(painter);
    }
    if (labelCount > 0)
        paintFactorLabel(painter);
}

void ZoomDlg::paintFrameMode(QPainter &painter) const
{
    painter.drawPixmap(rect(), *screenImage);
    painter.fillRect(rect(), QColor(0, 0, 0, 40));
    painter.save();
    painter.setClipRect(frameRect);
    painter.fillRect(frameRect, Qt::black);
    painter.drawPixmap(enlargedTarget(), *screenImage, toImage(frameRect));
    painter.restore();
    paintFrameBorder(painter);
}

void ZoomDlg::paintFrameBorder(QPainter &painter) const
{
    const int x1 = frameRect.left();
    const int y1 = frameRect.top();
    const int x2 = frameRect.right();
    const int y2 = frameRect.bottom();
    QPainterPath band;
    band.addRect(QRectF(x1, y1, x2 - x1, y2 - y1));
    band.addRect(QRectF(x1 + Band, y1 + Band, x2 - x1 - 2 * Band, y2 - y1 - 2 * Band));
    band.setFillRule(Qt::OddEvenFill);
    painter.save();
    painter.setPen(DarkGrey);
    painter.setBrush(LightGrey);
    painter.drawPath(band);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, logicalDpiX() > 96);
    painter.drawPixmap(QRect(x2 - 14, y2 - 14, 16, 16), grip);
    painter.setBrush(Qt::NoBrush);
    painter.setOpacity(0.3);
    painter.drawRect(QRect(x1 + 8, y1 + 8, x2 - 9 - (x1 + 8), y2 - 9 - (y1 + 8)));
    painter.setOpacity(0.1);
    painter.drawRect(QRect(x1 + 9, y1 + 9, x2 - 10 - (x1 + 9), y2 - 10 - (y1 + 9)));
    painter.restore();
}

void ZoomDlg::paintFactorLabel(QPainter &painter) const
{
    QFont big = font();
    big.setPointSizeF(36.0 * 96.0 / logicalDpiX());
    painter.setFont(big);
    const QString text = QStringLiteral("%1 x").arg(memory->factor, 0, 'g');
    painter.setPen(Qt::white);
    painter.drawText(rect(), Qt::AlignHCenter | Qt::AlignBottom, text);
    painter.setPen(Qt::black);
    painter.drawText(rect().translated(-1, -1), Qt::AlignHCenter | Qt::AlignBottom, text);
}
