#include "popupwidgetbtn.h"

#include "app/resourcepixmap.h"
#include "focusring.h"
#include "toolbarscale.h"

#include <QKeyEvent>
#include <QPainter>

PopupWidgetBtn::PopupWidgetBtn(const QString &strPicture, int iBaseSide, QWidget *pParent)
    : PopupWidgetBtn(ResourcePixmap::icon(strPicture), iBaseSide, pParent)
{
}

PopupWidgetBtn::PopupWidgetBtn(const QIcon &icon, int iBaseSide, QWidget *pParent)
    : QToolButton(pParent)
{
    setCheckable(true);
    setAutoRaise(true);
    setFocusPolicy(Qt::TabFocus);
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

void PopupWidgetBtn::keyPressEvent(QKeyEvent *pEvent)
{
    switch (pEvent->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!pEvent->isAutoRepeat())
            click();
        break;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
        pEvent->ignore();
        break;
    default:
        QToolButton::keyPressEvent(pEvent);
        break;
    }
}

// The same ring as on the toolbar: only Tab and the arrows focus an entry.
void PopupWidgetBtn::paintEvent(QPaintEvent *pEvent)
{
    QToolButton::paintEvent(pEvent);
    if (!hasFocus())
        return;
    QPainter painter(this);
    FocusRing::paint(painter, rect(), this);
}
