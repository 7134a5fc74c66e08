#include "focuslabel.h"

#include "focusring.h"

#include <QPainter>

FocusLabel::FocusLabel(QWidget *pParent)
    : QLabel(pParent)
{
}

void FocusLabel::paintEvent(QPaintEvent *pEvent)
{
    QLabel::paintEvent(pEvent);
    if (!hasFocus())
        return;
    QPainter painter(this);
    FocusRing::paint(painter, rect(), this);
}
