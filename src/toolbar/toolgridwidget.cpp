#include "toolgridwidget.h"

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
    QPainter(this).fillRect(rect(), QColor(120, 120, 120));
}
