#include "dialwidget.h"

#include "app/resourcepixmap.h"
#include "toolwidget.h"
#include "widgets/focusring.h"
#include "widgets/toolbarscale.h"

#include <QFont>
#include <QKeyEvent>
#include <QPainter>
#include <QWheelEvent>

DialWidget::DialWidget(QWidget *pParent)
    : QDial(pParent)
    , background(ResourcePixmap::load(QStringLiteral(":/Res/Dial_BG")))
    , face(ResourcePixmap::load(QStringLiteral(":/Res/Dial")))
    , pointer(ResourcePixmap::load(QStringLiteral(":/Res/Dial_Value")))
{
    const int side = ToolbarScale::px(this, 50);
    setFixedSize(side, side);
    setNotchesVisible(true);
    setFocusPolicy(Qt::TabFocus);
    setRange(0, 0);
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
    if (!hasRange)
        painter.setOpacity(0.4);
    painter.drawPixmap(rect(), background);
    painter.drawPixmap(rect(), face);
    if (!hasRange)
        return;
    painter.save();
    painter.translate(QRectF(rect()).center());
    painter.rotate(pointerAngle());
    painter.translate(-QRectF(rect()).center());
    painter.drawPixmap(rect(), pointer);
    painter.restore();
    QFont font = painter.font();
    font.setPixelSize(ToolbarScale::px(this, 12));
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QColor(30, 30, 30));
    painter.drawText(rect(), Qt::AlignCenter, QString::number(value()));
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
