#include "toolgridwidget.h"

#include "widgets/lookcolours.h"

#include <QGridLayout>
#include <QPainter>

ToolGridWidget::ToolGridWidget(QWidget *pParent)
    : QWidget(pParent)
    , grid(new QGridLayout(this))
{
    grid->setSpacing(1);
    grid->setContentsMargins(1, 1, 1, 1);
    grid->setSizeConstraint(QLayout::SetFixedSize);
}

void ToolGridWidget::addWidget(QWidget *pWidget, int row, int column, int columnSpan)
{
    grid->addWidget(pWidget, row, column, 1, columnSpan);
}

void ToolGridWidget::paintEvent(QPaintEvent *)
{
    // The gaps between buttons are their outlines in the high-contrast look.
    QPainter(this).fillRect(
        rect(), LookColours::highContrast() ? LookColours::ink() : QColor(120, 120, 120));
}
