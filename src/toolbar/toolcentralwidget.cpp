#include "toolcentralwidget.h"

#include "toolgridwidget.h"
#include "widgets/toolbarscale.h"

#include <QVBoxLayout>

ToolCentralWidget::ToolCentralWidget(int iTitleHeight, QWidget *pParent)
    : QWidget(pParent)
    , box(new QVBoxLayout(this))
{
    const int gap = ToolbarScale::px(this, 3);
    box->setSpacing(gap);
    box->setContentsMargins(gap, iTitleHeight + gap, gap, gap);
    box->setSizeConstraint(QLayout::SetFixedSize);
}

void ToolCentralWidget::addGrid(ToolGridWidget *pGrid)
{
    box->addWidget(pGrid);
}
