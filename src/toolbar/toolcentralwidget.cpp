#include "toolcentralwidget.h"

#include "toolgridwidget.h"
#include "widgets/toolbarscale.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include <climits>

ToolCentralWidget::ToolCentralWidget(int iTitleHeight, QWidget *pParent)
    : QWidget(pParent)
    , box(new QHBoxLayout(this))
{
    box->setSpacing(ToolbarScale::px(this, 3));
    setTitleHeight(iTitleHeight);
    box->setSizeConstraint(QLayout::SetFixedSize);
}

void ToolCentralWidget::setTitleHeight(int iTitleHeight)
{
    const int gap = box->spacing();
    box->setContentsMargins(gap, iTitleHeight + gap, gap, gap);
}

void ToolCentralWidget::addGrid(ToolGridWidget *pGrid)
{
    grids.append(pGrid);
    arrange(INT_MAX);
}

int ToolCentralWidget::columnCount() const
{
    return box->count();
}

// Deleting the columns leaves the grids, which are this widget's children.
void ToolCentralWidget::arrange(int iMaxHeight)
{
    while (QLayoutItem *item = box->takeAt(0))
        delete item;
    const QMargins margins = box->contentsMargins();
    const int room = iMaxHeight - margins.top() - margins.bottom();
    QVBoxLayout *column = nullptr;
    int used = 0;
    for (ToolGridWidget *grid : grids) {
        const int need = grid->sizeHint().height();
        if (!column || used + box->spacing() + need > room) {
            column = new QVBoxLayout;
            column->setSpacing(box->spacing());
            box->addLayout(column);
            used = need;
        } else {
            used += box->spacing() + need;
        }
        column->addWidget(grid, 0, Qt::AlignTop);
    }
    // Shorter columns keep their grids at the top.
    for (int i = 0; i < box->count(); ++i)
        static_cast<QVBoxLayout *>(box->itemAt(i)->layout())->addStretch();
    box->activate();
}
