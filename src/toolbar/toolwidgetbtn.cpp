#include "toolwidgetbtn.h"

#include "app/resourcepixmap.h"
#include "toolwidget.h"
#include "widgets/focusring.h"
#include "widgets/lookcolours.h"
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
    , iconPath(strIcon)
{
    ToolWidgetBtn::applySize();
    // Tab reaches the button, a click does not focus it: a mouse user never
    // sees a focus ring.
    setFocusPolicy(Qt::TabFocus);
}

// Icons are drawn from the picture at least as large as the icon on screen:
// scaling a picture up blurs its edges.
bool ToolWidgetBtn::usesHighRes() const
{
    return ToolbarScale::barPx(this, 24) * devicePixelRatioF() > 24;
}

void ToolWidgetBtn::applySize()
{
    const int side = ToolbarScale::buttonSide(this);
    setFixedSize(buttonType == 0 ? side : 2 * side + 1, side);
    if (!iconPath.isEmpty())
        icon = ResourcePixmap::load(iconPath, usesHighRes()).toImage();
    update();
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
    const int r = ToolbarScale::barPx(this, 15);
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

// The part of the face a press holds down: the popup strip or the rest of
// a button with a strip, else the whole button.
QRect ToolWidgetBtn::heldRect() const
{
    if (buttonType != 2)
        return rect();
    const QRect strip = popupStrip();
    if (kind >= 3)
        return strip;
    return strip.left() == 0 ? rect().adjusted(strip.width(), 0, 0, 0)
                             : rect().adjusted(0, 0, -strip.width(), 0);
}

void ToolWidgetBtn::paintFace(QPainter &painter) const
{
    if (LookColours::highContrast()) {
        paintContrastFace(painter);
        return;
    }
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
    const QRect held = heldRect();
    painter.fillRect(held, QColor(230, 230, 230));
    painter.fillRect(held.adjusted(1, 1, -1, -1), QColor(120, 120, 120));
}

// Strong outlines and inverted faces, so that no state depends on colour: the
// current tool and a held press are ink with the icon in the face colour; a
// disabled button has a dashed outline.
void ToolWidgetBtn::paintContrastFace(QPainter &painter) const
{
    painter.fillRect(rect(), LookColours::face());
    if (marked && kind == 0)
        painter.fillRect(rect(), LookColours::ink());
    else if (kind != 0)
        painter.fillRect(heldRect(), LookColours::ink());
    const int line = 2;
    QPen pen(isEnabled() ? LookColours::ink() : LookColours::disabledInk(), line);
    pen.setJoinStyle(Qt::MiterJoin);
    if (!isEnabled())
        pen.setStyle(Qt::DashLine);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(rect()).adjusted(line / 2.0, line / 2.0, -line / 2.0, -line / 2.0));
}

bool ToolWidgetBtn::isInverted(const QRect &part) const
{
    return (marked && kind == 0) || (kind != 0 && heldRect().contains(part));
}

QColor ToolWidgetBtn::contrastInk(bool bInverted) const
{
    if (!isEnabled())
        return LookColours::disabledInk();
    return bInverted ? LookColours::face() : LookColours::ink();
}

void ToolWidgetBtn::paintPopupMarker(QPainter &painter, bool bContrast) const
{
    const QRect strip = popupStrip();
    const bool facesRight = strip.left() > 0;
    if (buttonType == 2) {
        painter.setPen(bContrast ? QPen(contrastInk(marked && kind == 0), 2)
                                 : QPen(QColor(180, 180, 180)));
        const int x = facesRight ? strip.left() : strip.right();
        painter.drawLine(x, 3, x, height() - 4);
    }
    const int side = ToolbarScale::barPx(this, 16);
    const QImage &arrow = popupArrow(facesRight, side * devicePixelRatioF() > 16);
    QRect target(0, 0, side, side);
    target.moveCenter(strip.center());
    painter.drawImage(
        target, bContrast ? LookColours::tinted(arrow, contrastInk(isInverted(target))) : arrow);
}

// Decoded once for each size rather than on every repaint; the larger one
// only when a size step or the screen calls for it.
const QImage &ToolWidgetBtn::popupArrow(bool bFacesRight, bool bHighRes)
{
    if (bHighRes) {
        static const QImage right
            = ResourcePixmap::load(QStringLiteral(":/Res/PopupArrow"), true).toImage();
        static const QImage left = right.mirrored(true, false);
        return bFacesRight ? right : left;
    }
    static const QImage right
        = ResourcePixmap::load(QStringLiteral(":/Res/PopupArrow"), false).toImage();
    static const QImage left = right.mirrored(true, false);
    return bFacesRight ? right : left;
}

void ToolWidgetBtn::paintIcon(QPainter &painter, bool bContrast) const
{
    const int side = ToolbarScale::barPx(this, 24);
    QRect target(0, 0, side, side);
    target.moveCenter(rect().center());
    if (bContrast) {
        const bool inverted = isInverted(target);
        const QColor back = inverted ? LookColours::ink() : LookColours::face();
        painter.drawImage(target, LookColours::twoTone(icon, contrastInk(inverted), back));
        return;
    }
    if (!isEnabled())
        painter.setOpacity(0.3);
    painter.drawImage(target, icon);
}

void ToolWidgetBtn::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const bool contrast = LookColours::highContrast();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    paintFace(painter);
    if (hasPopupStrip())
        paintPopupMarker(painter, contrast);
    paintIcon(painter, contrast);
    paintFocus(painter);
}
