#include "stripbutton.h"

#include "app/resourcepixmap.h"
#include "focusring.h"
#include "toolbarscale.h"

#include <QPainter>

StripButton::StripButton(const QString &strPicture, int iBaseSide, QWidget *pParent)
    : QToolButton(pParent)
    , picture(strPicture)
    , baseSide(iBaseSide)
{
    setSide(ToolbarScale::px(this, iBaseSide));
    setFocusPolicy(Qt::NoFocus);
}

void StripButton::setSide(int iSide)
{
    setFixedSize(iSide, iSide);
    strip = ResourcePixmap::load(picture, iSide * devicePixelRatioF() > baseSide);
    update();
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
