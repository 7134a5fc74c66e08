#include "dialwidget.h"

#include "app/resourcepixmap.h"
#include "toolwidget.h"
#include "widgets/focusring.h"
#include "widgets/lookcolours.h"
#include "widgets/toolbarscale.h"

#include <QFont>
#include <QKeyEvent>
#include <QPainter>
#include <QWheelEvent>

DialWidget::DialWidget(QWidget *pParent)
    : QDial(pParent)
{
    applySize();
    setNotchesVisible(true);
    setFocusPolicy(Qt::TabFocus);
    setRange(0, 0);
}

void DialWidget::applySize()
{
    const int side = ToolbarScale::barPx(this, 50);
    setFixedSize(side, side);
    const bool highRes = side * devicePixelRatioF() > 50;
    background = ResourcePixmap::load(QStringLiteral(":/Res/Dial_BG"), highRes);
    face = ResourcePixmap::load(QStringLiteral(":/Res/Dial"), highRes);
    pointer = ResourcePixmap::load(QStringLiteral(":/Res/Dial_Value"), highRes);
}

double DialWidget::pointerAngle() const
{
    // A dial without wrapping spans 300 degrees, the minimum at 8 o'clock.
    const double span = maximum() - minimum();
    return -150.0 + 300.0 * (value() - minimum()) / span;
}

void DialWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setRenderHint(QPainter::Antialiasing);
    const bool hasRange = maximum() > minimum();
    if (ToolWidget::showsFocusRing(this))
        FocusRing::paint(painter, rect(), this);
    const bool contrast = LookColours::highContrast();
    if (contrast) {
        paintContrast(painter, hasRange);
    } else {
        if (!hasRange)
            painter.setOpacity(0.4);
        painter.drawPixmap(rect(), background);
        painter.drawPixmap(rect(), face);
    }
    if (!hasRange)
        return;
    if (!contrast) {
        painter.save();
        painter.translate(QRectF(rect()).center());
        painter.rotate(pointerAngle());
        painter.translate(-QRectF(rect()).center());
        painter.drawPixmap(rect(), pointer);
        painter.restore();
    }
    QFont font = painter.font();
    font.setPixelSize(ToolbarScale::barPx(this, 12));
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(contrast ? LookColours::ink() : QColor(30, 30, 30));
    painter.drawText(rect(), Qt::AlignCenter, QString::number(value()));
}

void DialWidget::paintContrast(QPainter &painter, bool bHasRange)
{
    const QColor ink = bHasRange ? LookColours::ink() : LookColours::disabledInk();
    const QRectF plate = QRectF(rect()).adjusted(2, 2, -2, -2);
    painter.setBrush(LookColours::face());
    painter.setPen(QPen(ink, 2, bHasRange ? Qt::SolidLine : Qt::DashLine));
    painter.drawEllipse(plate);
    if (!bHasRange)
        return;
    // The pointer: a thick stroke from the rim towards the value.
    painter.save();
    painter.translate(plate.center());
    painter.rotate(pointerAngle());
    painter.setPen(QPen(ink, ToolbarScale::barPx(this, 4), Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(0, -plate.height() / 2 + 4), QPointF(0, -plate.height() / 4));
    painter.restore();
}

void DialWidget::announceChange(int before)
{
    if (value() != before)
        emit sliderMoved(value());
}

// QDial sets the value of a plain click and of the wheel without sliderMoved,
// which would leave the dial showing a width the tool does not have.
void DialWidget::mousePressEvent(QMouseEvent *pEvent)
{
    ToolWidget::mouseUsed(this);
    const int before = value();
    QDial::mousePressEvent(pEvent);
    announceChange(before);
}

void DialWidget::mouseReleaseEvent(QMouseEvent *pEvent)
{
    const int before = value();
    QDial::mouseReleaseEvent(pEvent);
    announceChange(before);
}

void DialWidget::wheelEvent(QWheelEvent *pEvent)
{
    const int before = value();
    QDial::wheelEvent(pEvent);
    announceChange(before);
}

// The arrows turn the dial as on any slider; Tab walks on.
void DialWidget::keyPressEvent(QKeyEvent *pEvent)
{
    const int before = value();
    QDial::keyPressEvent(pEvent);
    announceChange(before);
}

void DialWidget::focusInEvent(QFocusEvent *pEvent)
{
    update();
    QDial::focusInEvent(pEvent);
}

void DialWidget::focusOutEvent(QFocusEvent *pEvent)
{
    update();
    QDial::focusOutEvent(pEvent);
}
