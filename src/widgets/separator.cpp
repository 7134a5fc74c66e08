#include "separator.h"

#include "app/appstate.h"

#include <QPainter>

Separator::Separator(bool bVertical, QWidget *pParent)
    : QWidget(pParent)
{
    if (bVertical)
        setFixedWidth(1);
    else
        setFixedHeight(1);
}

void Separator::paintEvent(QPaintEvent *)
{
    QPainter(this).fillRect(rect(), AppState::instance().greys[2]);
}
