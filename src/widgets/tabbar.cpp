#include "tabbar.h"

#include "app/appstate.h"

#include <QLinearGradient>
#include <QPainter>

TabBar::TabBar(QWidget *pParent)
    : QToolBar(pParent)
{
    setMovable(false);
    setAttribute(Qt::WA_Hover);
    hide();
}

void TabBar::paintEvent(QPaintEvent *)
{
    const AppState &s = AppState::instance();
    QLinearGradient gradient(0, 0, 0, height());
    gradient.setColorAt(0, s.greys[0]);
    gradient.setColorAt(1, s.greys[1]);
    QPainter painter(this);
    painter.fillRect(rect(), gradient);
}
