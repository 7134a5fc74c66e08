#include "toolwidgetbtn.h"

#include "app/resourcepixmap.h"
#include "toolwidget.h"
#include "widgets/focusring.h"
#include "widgets/toolbarscale.h"

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>

ToolWidgetBtn::ToolWidgetBtn(int iType, const QString &strIcon, QWidget *pParent)
    : QWidget(pParent)
    , buttonType(iType)
    , icon(ResourcePixmap::load(strIcon).toImage())
{
    ToolWidgetBtn::applySize();
    popupArrow(true);
    // Tab reaches the button, a click does not focus it: a mouse user never
    // sees a focus ring.
    setFocusPolicy(Qt::TabFocus);
}

void ToolWidgetBtn::applySize()
{
    const int side = ToolbarScale::buttonSide(this);
    setFixedSize(buttonType == 0 ? side : 2 * side + 1, side);
}

void ToolWidgetBtn::setCurrentMark(bool bMarked)
{
    if (marked == bMarked)
        return;
    marked = bMarked;
    update();
    // Readers learn of a changed tool from the event, not by asking again.
    if (QAccessible::isActive()) {
        QAccessible::State changed;
        changed.checked = true;
        QAccessibleStateChangeEvent event(this, changed);
        QAccessible::updateAccessibility(&event);
    }
}

bool ToolWidgetBtn::isDragAway(const QPoint &pressAt, const QPoint &pos)
{
    return (pos - pressAt).manhattanLength() >= 3 * QApplication::startDragDistance();
}

void ToolWidgetBtn::clearPress()
{
    pressed = false;
    kind = 0;
    update();
}

QRect ToolWidgetBtn::popupStrip() const
{
    const int r = ToolbarScale::px(this, 15);
    return ToolWidget::isOnLeftOf(this) ? QRect(width() - r, 0, r, height())
                                        : QRect(0, 0, r, height());
}

int ToolWidgetBtn::popupKind() const
{
    if (!hasPopupStrip())
        return 0;
    return ToolWidget::isOnLeftOf(this) ? 4 : 3;
}

int ToolWidgetBtn::kindAt(const QPoint &pos) const
{
    // The strip is only on popup buttons: on a square button the strip would
    // cover a whole half and swallow kind 1 or 2.
    if (hasPopupStrip() && popupStrip().contains(pos))
        return popupKind();
    return pos.x() < width() / 2 ? 1 : 2;
}

void ToolWidgetBtn::mousePressEvent(QMouseEvent *pEvent)
{
    if (pEvent->button() != Qt::LeftButton) {
        pEvent->ignore();
        return;
    }
    ToolWidget::mouseUsed(this);
    pressed = true;
    pressPoint = pEvent->position().toPoint();
    kind = kindAt(pressPoint);
    update();
}

void ToolWidgetBtn::mouseMoveEvent(QMouseEvent *pEvent)
{
    if (pressed && isDragAway(pressPoint, pEvent->position().toPoint()))
        clearPress();
    if (!pressed)
        pEvent->ignore();
}

void ToolWidgetBtn::mouseReleaseEvent(QMouseEvent *pEvent)
{
    if (pEvent->button() != Qt::LeftButton) {
        pEvent->ignore();
        return;
    }
    const bool click = pressed && rect().contains(pEvent->position().toPoint());
    const int clickKind = kind;
    const bool wasPressed = pressed;
    clearPress();
    if (click)
        emit signals_Clicked(qint8(clickKind));
    else if (!wasPressed)
        pEvent->ignore();
}

void ToolWidgetBtn::changeEvent(QEvent *pEvent)
{
    if (pEvent->type() == QEvent::EnabledChange && !isEnabled())
        clearPress();
    QWidget::changeEvent(pEvent);
}

void ToolWidgetBtn::keyPressEvent(QKeyEvent *pEvent)
{
    const int key = pEvent->key();
    const bool menuKey
        = key == Qt::Key_Menu || (key == Qt::Key_F10 && pEvent->modifiers() == Qt::ShiftModifier);
    if (menuKey && popupKind() != 0) {
        emit signals_Clicked(qint8(popupKind()));
        return;
    }
    const bool pressKey = key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter;
    if (pressKey && (pEvent->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        // A held key repeats; a click does not.
        if (!pEvent->isAutoRepeat())
            emit signals_Clicked(1);
        return;
    }
    pEvent->ignore();
}

void ToolWidgetBtn::focusInEvent(QFocusEvent *pEvent)
{
    update();
    QWidget::focusInEvent(pEvent);
}

void ToolWidgetBtn::focusOutEvent(QFocusEvent *pEvent)
{
    update();
    QWidget::focusOutEvent(pEvent);
}

void ToolWidgetBtn::paintFocus(QPainter &painter) const
{
    if (ToolWidget::showsFocusRing(this))
        FocusRing::paint(painter, rect(), this);
}

void ToolWidgetBtn::paintFace(QPainter &painter) const
{
    if (marked && kind == 0) {
        painter.fillRect(rect(), Qt::white);
        return;
    }
    QLinearGradient gradient(0, 0, 0, height());
    gradient.setColorAt(0, Qt::white);
    gradient.setColorAt(0.07, QColor(230, 230, 230));
    painter.fillRect(rect(), gradient);
    if (kind == 0)
        return;
    QRect held = rect();
    if (buttonType == 2) {
        const QRect strip = popupStrip();
        held = (kind >= 3) ? strip
                           : (strip.left() == 0 ? held.adjusted(strip.width(), 0, 0, 0)
                                                : held.adjusted(0, 0, -strip.width(), 0));
    }
    painter.fillRect(held, QColor(230, 230, 230));
    painter.fillRect(held.adjusted(1, 1, -1, -1), QColor(120, 120, 120));
}

void ToolWidgetBtn::paintPopupMarker(QPainter &painter) const
{
    const QRect strip = popupStrip();
    const bool facesRight = strip.left() > 0;
    if (buttonType == 2) {
        painter.setPen(QColor(180, 180, 180));
        const int x = facesRight ? strip.left() : strip.right();
        painter.drawLine(x, 3, x, height() - 4);
    }
    const QImage &arrow = popupArrow(facesRight);
    const int side = ToolbarScale::px(this, 16);
    QRect target(0, 0, side, side);
    target.moveCenter(strip.center());
    painter.drawImage(target, arrow);
}

// Decoded once, with the first button, rather than on every repaint.
const QImage &ToolWidgetBtn::popupArrow(bool bFacesRight)
{
    static const QImage right = ResourcePixmap::load(QStringLiteral(":/Res/PopupArrow")).toImage();
    static const QImage left = right.mirrored(true, false);
    return bFacesRight ? right : left;
}

void ToolWidgetBtn::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, logicalDpiX() > 96);
    paintFace(painter);
    if (hasPopupStrip())
        paintPopupMarker(painter);
    const int side = ToolbarScale::px(this, 24);
    QRect target(0, 0, side, side);
    target.moveCenter(rect().center());
    if (!isEnabled())
        painter.setOpacity(0.3);
    painter.drawImage(target, icon);
    painter.setOpacity(1.0);
    paintFocus(painter);
}
