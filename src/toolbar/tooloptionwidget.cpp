#include "tooloptionwidget.h"

#include "dialwidget.h"
#include "toolwidgetbtn_option.h"
#include "widgets/lookcolours.h"
#include "widgets/toolbarscale.h"

#include <QPainter>
#include <QVBoxLayout>

ToolOptionWidget::ToolOptionWidget(QWidget *pParent)
    : QWidget(pParent)
    , dialWidget(new DialWidget(this))
    , button(new ToolWidgetBtn_Option(this))
{
    auto *box = new QVBoxLayout(this);
    box->setSpacing(1);
    box->setContentsMargins(0, ToolbarScale::px(this, 2), 0, ToolbarScale::px(this, 4));
    box->addWidget(dialWidget, 0, Qt::AlignHCenter);
    box->addWidget(button, 0, Qt::AlignHCenter);
}

void ToolOptionWidget::paintEvent(QPaintEvent *)
{
    QPainter(this).fillRect(
        rect(), LookColours::highContrast() ? LookColours::face() : QColor(230, 230, 230));
}
