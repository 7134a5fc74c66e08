#include "popupwidgetbtn.h"

#include "app/resourcepixmap.h"
#include "toolbarscale.h"

PopupWidgetBtn::PopupWidgetBtn(const QString &strPicture, int iBaseSide, QWidget *pParent)
    : PopupWidgetBtn(ResourcePixmap::icon(strPicture), iBaseSide, pParent)
{
}

PopupWidgetBtn::PopupWidgetBtn(const QIcon &icon, int iBaseSide, QWidget *pParent)
    : QToolButton(pParent)
{
    setCheckable(true);
    setAutoRaise(true);
    setFocusPolicy(Qt::NoFocus);
    setIcon(icon);
    const int side = ToolbarScale::px(this, iBaseSide);
    setIconSize(QSize(side, side));
    setFixedSize(side + ToolbarScale::px(this, 6), side + ToolbarScale::px(this, 6));
}

void PopupWidgetBtn::setCaption(const QString &strText)
{
    setText(strText);
    setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    setMinimumWidth(0);
    setMaximumWidth(QWIDGETSIZE_MAX);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}
