#include "toolwidgetbtn_option.h"

#include "app/appstate.h"
#include "toolwidget.h"
#include "widgets/lookcolours.h"
#include "widgets/toolbarscale.h"

#include <QColorDialog>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

ToolWidgetBtn_Option::ToolWidgetBtn_Option(QWidget *pParent)
    : ToolWidgetBtn(1, QString(), pParent)
{
    applySize();
}

void ToolWidgetBtn_Option::applySize()
{
    const int side = ToolbarScale::buttonSide(this);
    const int block = 3 * ToolbarScale::barPx(this, 13) + 2;
    setFixedSize(2 * side + 1, qMax(side, block + 2 * ToolbarScale::barPx(this, 4)));
}

void ToolWidgetBtn_Option::setColour(const QColor &colour)
{
    shownColour = colour;
    update();
}

void ToolWidgetBtn_Option::setSwatchesActive(bool bActive)
{
    active = bActive;
    swatchPressed = -1;
    update();
}

QRect ToolWidgetBtn_Option::swatchBlock() const
{
    const int margin = ToolbarScale::barPx(this, 4);
    const int block = 3 * ToolbarScale::barPx(this, 13) + 2;
    const int x = ToolWidget::isOnLeftOf(this) ? margin : width() - margin - block;
    return QRect(x, (height() - block) / 2, block, block);
}

QRect ToolWidgetBtn_Option::swatchRect(int index) const
{
    const int side = ToolbarScale::barPx(this, 13);
    const QPoint origin = swatchBlock().topLeft();
    return QRect(origin.x() + (index % 3) * (side + 1), origin.y() + (index / 3) * (side + 1), side,
                 side);
}

QRect ToolWidgetBtn_Option::colourBar() const
{
    const int margin = ToolbarScale::barPx(this, 4);
    const QRect block = swatchBlock();
    const int barWidth = width() - block.width() - 3 * margin;
    const int x = ToolWidget::isOnLeftOf(this) ? block.right() + 1 + margin : margin;
    return QRect(x, block.top(), barWidth, block.height());
}

int ToolWidgetBtn_Option::swatchAt(const QPoint &pos) const
{
    if (!active)
        return -1;
    for (int i = 0; i < SwatchCount; ++i)
        if (swatchRect(i).contains(pos))
            return i;
    return -1;
}

void ToolWidgetBtn_Option::mousePressEvent(QMouseEvent *pEvent)
{
    const QPoint pos = pEvent->position().toPoint();
    const bool swatchButtons
        = pEvent->button() == Qt::LeftButton || pEvent->button() == Qt::RightButton;
    const int index = swatchButtons ? swatchAt(pos) : -1;
    if (index < 0) {
        ToolWidgetBtn::mousePressEvent(pEvent);
        return;
    }
    ToolWidget::mouseUsed(this);
    swatchPressed = index;
    swatchButton = pEvent->button();
    swatchPressPoint = pos;
}

void ToolWidgetBtn_Option::mouseMoveEvent(QMouseEvent *pEvent)
{
    if (swatchPressed < 0) {
        ToolWidgetBtn::mouseMoveEvent(pEvent);
        return;
    }
    if (isDragAway(swatchPressPoint, pEvent->position().toPoint())) {
        swatchPressed = -1;
        pEvent->ignore();
    }
}

void ToolWidgetBtn_Option::mouseReleaseEvent(QMouseEvent *pEvent)
{
    if (swatchPressed < 0) {
        ToolWidgetBtn::mouseReleaseEvent(pEvent);
        return;
    }
    if (pEvent->button() != swatchButton)
        return;
    const int index = swatchPressed;
    swatchPressed = -1;
    if (swatchAt(pEvent->position().toPoint()) != index)
        return;
    if (swatchButton == Qt::LeftButton)
        pickColour(index);
    else
        editColour(index);
}

void ToolWidgetBtn_Option::pickColour(int index)
{
    setColour(AppState::instance().rgb2.value(index));
    emit signal_ColourPicked(shownColour);
}

void ToolWidgetBtn_Option::pickQuickColour(int index)
{
    if (active && index >= 0 && index < SwatchCount)
        pickColour(index);
}

void ToolWidgetBtn_Option::editColour(int index)
{
    QList<QColor> &quick = AppState::instance().rgb2;
    const QColor chosen = QColorDialog::getColor(quick.value(index), this, QString(),
                                                 QColorDialog::DontUseNativeDialog);
    if (!chosen.isValid() || index >= quick.size())
        return;
    quick[index] = chosen;
    update();
}

void ToolWidgetBtn_Option::keyPressEvent(QKeyEvent *pEvent)
{
    const int index = pEvent->key() - Qt::Key_1;
    if (index >= 0 && index < SwatchCount && (pEvent->modifiers() & ~Qt::KeypadModifier) == 0) {
        pickQuickColour(index);
        return;
    }
    ToolWidgetBtn::keyPressEvent(pEvent);
}

QColor ToolWidgetBtn_Option::outline()
{
    return LookColours::highContrast() ? LookColours::ink() : QColor(120, 120, 120);
}

void ToolWidgetBtn_Option::paintColourBar(QPainter &painter) const
{
    const QRect bar = colourBar();
    painter.fillRect(bar, outline());
    const QRect inside = bar.adjusted(1, 1, -1, -1);
    if (shownColour.alpha() > 0) {
        painter.fillRect(inside, shownColour);
        return;
    }
    // No colour (mouse, select, eraser): an empty well crossed out.
    painter.fillRect(inside, Qt::white);
    painter.setPen(QColor(180, 180, 180));
    painter.drawLine(inside.bottomLeft(), inside.topRight());
}

void ToolWidgetBtn_Option::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paintFace(painter);
    paintColourBar(painter);
    painter.setOpacity(active && isEnabled() ? 1.0 : 0.3);
    const QList<QColor> &quick = AppState::instance().rgb2;
    for (int i = 0; i < SwatchCount; ++i) {
        const QRect swatch = swatchRect(i);
        painter.fillRect(swatch, outline());
        painter.fillRect(swatch.adjusted(1, 1, -1, -1), quick.value(i));
    }
    painter.setOpacity(1.0);
    paintFocus(painter);
}
