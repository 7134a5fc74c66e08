#include "stripbutton.h"

#include "app/resourcepixmap.h"
#include "focusring.h"
#include "toolbarscale.h"

#include <QPainter>

StripButton::StripButton(const QString &strPicture, int iBaseSide, QWidget *pParent)
    : QToolButton(pParent)
    , strip(ResourcePixmap::load(strPicture))
{
    const int side = ToolbarScale::px(this, iBaseSide);
    setFixedSize(side, side);
    setFocusPolicy(Qt::NoFocus);
}

void StripButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const int half = strip.width() / 2;
    const QRect source(isDown() ? half : 0, 0, half, strip.height());
    painter.drawPixmap(rect(), strip, source);
    // Only Tab focuses a strip button that accepts focus at all.
    if (hasFocus())
        FocusRing::paint(painter, rect(), this);
}
