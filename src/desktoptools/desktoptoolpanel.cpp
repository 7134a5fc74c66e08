#include "desktoptoolpanel.h"

#include "app/lang.h"
#include "capturepanel.h"
#include "widgets/closebtn.h"
#include "widgets/lookcolours.h"

#include <QPainter>

DesktopToolPanel::DesktopToolPanel(const QString &strTitle, QWidget *pParent)
    : QWidget(pParent)
    , title(strTitle)
    , close(CapturePanel::makeCloseButton(this))
{
    Lang::release();
    setAttribute(Qt::WA_NoMousePropagation);
    setCursor(Qt::ArrowCursor);
    setStyleSheet(LookColours::panelStyleSheet());
}

int DesktopToolPanel::unit(int n) const
{
    return CapturePanel::px(this, n);
}

int DesktopToolPanel::stripHeight() const
{
    return CapturePanel::titleHeight(this);
}

// Wide enough for the whole title (and its shadow), which the layout does not
// know about: panels take their size hint as their fixed size.
QSize DesktopToolPanel::sizeHint() const
{
    QSize size = QWidget::sizeHint();
    if (!title.isEmpty())
        size.setWidth(
            qMax(size.width(), stripHeight() + fontMetrics().horizontalAdvance(title) + 1));
    return size;
}

void DesktopToolPanel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    CapturePanel::paintBackground(painter, this);
    if (!title.isEmpty())
        CapturePanel::paintTitle(painter, this, title);
}
