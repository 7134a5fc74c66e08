#include "desktoptoolpanel.h"

#include "app/lang.h"
#include "capturepanel.h"
#include "widgets/closebtn.h"

#include <QPainter>

DesktopToolPanel::DesktopToolPanel(const QString &strTitle, QWidget *pParent)
    : QWidget(pParent)
    , title(strTitle)
    , close(CapturePanel::makeCloseButton(this))
{
    Lang::release();
    setAttribute(Qt::WA_NoMousePropagation);
    setCursor(Qt::ArrowCursor);
}

int DesktopToolPanel::unit(int n) const
{
    return CapturePanel::px(this, n);
}

int DesktopToolPanel::stripHeight() const
{
    return CapturePanel::titleHeight(this);
}

void DesktopToolPanel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    CapturePanel::paintBackground(painter, this);
    if (!title.isEmpty())
        CapturePanel::paintTitle(painter, this, title);
}
