#include "protractordlg.h"

#include "app/lang.h"
#include "app/resourcepixmap.h"
#include "app/settledannouncement.h"
#include "arrowstep.h"
#include "widgets/closebtn.h"
#include "widgets/toolbarscale.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {
const QColor DarkGrey(30, 30, 30);
const QColor LightGrey(230, 230, 230);
const float DegreesPerRadian = 57.295784f;

float screenAngle(const QPoint &from, const QPoint &to)
{
    const float a
        = std::atan2(float(to.y() - from.y()), float(to.x() - from.x())) * DegreesPerRadian;
    return a < 0 ? a + 360 : a;
}
} // namespace

ProtractorDlg::ProtractorDlg(QPixmap *pScreenImage, QWidget *pParent)
    : FullScreenDialog(pParent)
    , vertex(width() / 2, height() / 2)
    , firstEnd(vertex - QPoint(0, 100))
    , secondEnd(vertex + QPoint(100, 0))
    , screenImage(pScreenImage)
    , closeBtn(new CloseBtn(this))
    , announcement(new SettledAnnouncement(
          this, [this] { return spokenAngle(); }, 400))
{
    QFont smaller = font();
    smaller.setPointSizeF(smaller.pointSizeF() / ToolbarScale::ui(this));
    setFont(smaller);
    setMouseTracking(true);
    closeBtn->setToolTip(Lang::tr("Tools", QStringLiteral("Close")));
    Lang::release();
    connect(closeBtn, &QToolButton::clicked, this, &QDialog::reject);
    placeCloseButton();
    announcement->changed();
}

float ProtractorDlg::angle(const QPoint &vertex, const QPoint &first, const QPoint &second)
{
    const float a1 = screenAngle(vertex, first);
    const float a2 = screenAngle(vertex, second);
    return a1 < a2 ? a2 - a1 : a2 - a1 + 360;
}

QString ProtractorDlg::angleText(float fAngle)
{
    return QStringLiteral("%1 '").arg(double(fAngle), 0, 'g', 3);
}

QString ProtractorDlg::spokenAngle() const
{
    return Lang::single("Accessible", QStringLiteral("Angle %1 degrees"))
        .arg(double(angle(vertex, firstEnd, secondEnd)), 0, 'g', 3);
}

QPoint ProtractorDlg::point(int iHandle) const
{
    switch (iHandle) {
    case Vertex:
        return vertex;
    case FirstEnd:
        return firstEnd;
    case SecondEnd:
        return secondEnd;
    default:
        return QPoint();
    }
}

QRect ProtractorDlg::vertexSquare(const QPoint &p)
{
    return QRect(p.x() - 12, p.y() - 12, 24, 24);
}

QRect ProtractorDlg::armSquare(const QPoint &p)
{
    return QRect(p.x() - 24, p.y() - 24, 48, 48);
}

int ProtractorDlg::hitTest(const QPoint &p) const
{
    if (armSquare(secondEnd).contains(p))
        return SecondEnd;
    if (armSquare(firstEnd).contains(p))
        return FirstEnd;
    if (vertexSquare(vertex).contains(p))
        return Vertex;
    return NoHandle;
}

void ProtractorDlg::placeCloseButton()
{
    closeBtn->move(vertex.x() - 2 - closeBtn->width(), vertex.y() - 2 - closeBtn->height());
}

void ProtractorDlg::moveCurrent(const QPoint &p)
{
    announcement->changed();
    if (current == Vertex)
        vertex = p;
    else if (current == FirstEnd)
        firstEnd = p;
    else if (current == SecondEnd)
        secondEnd = p;
}

void ProtractorDlg::mousePressEvent(QMouseEvent *pEvent)
{
    if (pEvent->button() != Qt::LeftButton)
        return;
    const QPoint p = pEvent->position().toPoint();
    current = hitTest(p);
    if (current != NoHandle) {
        closeBtn->hide();
        moveCurrent(p);
    }
    loupe.place(p, rect());
    update();
}

void ProtractorDlg::mouseMoveEvent(QMouseEvent *pEvent)
{
    const QPoint p = pEvent->position().toPoint();
    moveCurrent(p);
    loupe.place(p, rect());
    update();
}

void ProtractorDlg::mouseReleaseEvent(QMouseEvent *pEvent)
{
    if (pEvent->button() == Qt::RightButton)
        reject();
    placeCloseButton();
    closeBtn->show();
    current = NoHandle;
    update();
}

// Tab chooses what the arrows move: the whole protractor, then the vertex
// and each arm's end in turn.
bool ProtractorDlg::event(QEvent *pEvent)
{
    if (pEvent->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(pEvent);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            const int count = NoHandle + 1;
            const int step = key->key() == Qt::Key_Tab ? 1 : count - 1;
            current = (current + step) % count;
            closeBtn->setVisible(current == NoHandle);
            if (current != NoHandle)
                loupe.place(point(current), rect());
            update();
            return true;
        }
    }
    return FullScreenDialog::event(pEvent);
}

void ProtractorDlg::keyPressEvent(QKeyEvent *pEvent)
{
    const QPoint step = ArrowStep(pEvent);
    const QPoint resize = ArrowResize(pEvent);
    if (!step.isNull() && current != NoHandle) {
        moveCurrent(point(current) + step);
        loupe.place(point(current), rect());
    } else if (!step.isNull()) {
        vertex += step;
        firstEnd += step;
        secondEnd += step;
        placeCloseButton();
    } else if (!resize.isNull()) {
        const int change = resize.x() + resize.y();
        firstEnd = longerArm(firstEnd, change);
        secondEnd = longerArm(secondEnd, change);
    } else {
        FullScreenDialog::keyPressEvent(pEvent);
        return;
    }
    update();
}

// The arm's end moved along the arm by change pixels; an arm keeps at least
// the length of its handle.
QPoint ProtractorDlg::longerArm(const QPoint &end, int change) const
{
    const QPointF arm = end - vertex;
    const double length = std::hypot(arm.x(), arm.y());
    if (length < 1)
        return end;
    const double newLength = qMax(24.0, length + change);
    return vertex + (arm * (newLength / length)).toPoint();
}

void ProtractorDlg::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (screenImage && !screenImage->isNull())
        painter.drawPixmap(rect(), *screenImage);
    else
        painter.fillRect(rect(), Qt::black);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, logicalDpiX() > 96);
    if (current == Vertex) {
        paintCross(painter);
        paintLoupe(painter, vertex);
        return;
    }
    painter.setRenderHint(QPainter::Antialiasing);
    const float degrees = angle(vertex, firstEnd, secondEnd);
    paintArcs(painter, degrees);
    painter.setPen(QPen(QColor(255, 0, 0), 1));
    painter.drawLine(vertex, firstEnd);
    painter.drawLine(vertex, secondEnd);
    paintHandles(painter);
    if (current == FirstEnd || current == SecondEnd)
        paintLoupe(painter, point(current));
    paintAngleText(painter, degrees);
}

void ProtractorDlg::paintCross(QPainter &painter) const
{
    const auto lines = [&] {
        painter.drawLine(0, vertex.y(), width() - 1, vertex.y());
        painter.drawLine(vertex.x(), 0, vertex.x(), height() - 1);
    };
    painter.setPen(QPen(LightGrey, 3, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    lines();
    painter.setPen(QPen(DarkGrey, 1));
    lines();
}

// Both arcs start on the first arm and turn clockwise (negative in Qt's
// counter-clockwise sixteenths of a degree) through the angle.
void ProtractorDlg::paintArcs(QPainter &painter, float fAngle) const
{
    const int start = int((360 - screenAngle(vertex, firstEnd)) * 16);
    const int span = int(-16 * fAngle);
    painter.setBrush(Qt::NoBrush);
    QPen pen(QColor(255, 0, 0, 155), 8, Qt::SolidLine, Qt::FlatCap, Qt::BevelJoin);
    painter.setPen(pen);
    painter.drawArc(QRect(vertex - QPoint(32, 32), QSize(64, 64)), start, span);
    pen.setColor(QColor(255, 0, 0, 55));
    painter.setPen(pen);
    painter.drawArc(QRect(vertex - QPoint(36, 36), QSize(72, 72)), start, span);
}

void ProtractorDlg::paintHandles(QPainter &painter) const
{
    if (current == NoHandle) {
        painter.setOpacity(0.6);
        painter.setPen(QPen(DarkGrey, 2, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(vertexSquare(vertex));
        painter.setOpacity(1.0);
    }
    const QPixmap picture = ResourcePixmap::load(QStringLiteral(":/Tools/Angle"));
    painter.drawPixmap(armSquare(firstEnd), picture);
    painter.drawPixmap(armSquare(secondEnd), picture);
}

void ProtractorDlg::paintAngleText(QPainter &painter, float fAngle) const
{
    QFont big(QStringLiteral("Arial Black"));
    big.setPointSize(qRound(14.0 * 96.0 / logicalDpiX()));
    big.setWeight(QFont::Bold);
    QPainterPath path;
    path.addText(vertex + QPoint(20, 20), big, angleText(fAngle));
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::white);
    painter.drawPath(path);
}

void ProtractorDlg::paintLoupe(QPainter &painter, const QPoint &p) const
{
    if (!screenImage)
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    loupe.paint(painter, *screenImage, p, QStringLiteral("x: %1, y: %2").arg(p.x()).arg(p.y()));
    painter.restore();
}
