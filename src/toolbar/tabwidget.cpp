#include "tabwidget.h"

#include "app/appstate.h"
#include "app/lang.h"
#include "widgets/focusring.h"
#include "widgets/lookcolours.h"

#include <QPainter>

TabWidget::TabWidget(const QStringList &englishTitles, int iCurrent, QWidget *pParent)
    : QTabBar(pParent)
    , tabWidth(AppState::instance().scaled(64))
    , tabHeight(AppState::instance().scaled(24))
{
    setDrawBase(false);
    setExpanding(false);
    setUsesScrollButtons(false);
    setFocusPolicy(Qt::TabFocus);
    for (const QString &title : englishTitles)
        addTab(Lang::tr("PopupWidget", title));
    Lang::release();
    setCurrentIndex(qBound(0, iCurrent, count() - 1));
    setFixedSize(count() * tabWidth, tabHeight);
    connect(this, &QTabBar::currentChanged, this, &TabWidget::signal_TabClicked);
}

QSize TabWidget::tabSizeHint(int) const
{
    return QSize(tabWidth, tabHeight);
}

QSize TabWidget::minimumTabSizeHint(int index) const
{
    return tabSizeHint(index);
}

void TabWidget::paintTab(QPainter &painter, int index) const
{
    const AppState &s = AppState::instance();
    const QRect r = tabRect(index).adjusted(0, 0, -2, -2);
    const bool current = index == currentIndex();
    if (LookColours::highContrast()) {
        const QColor face = LookColours::face();
        const QColor ink = LookColours::ink();
        painter.fillRect(r, current ? ink : face);
        painter.setPen(QPen(ink, 2));
        painter.drawRect(r.adjusted(1, 1, -1, -1));
        painter.setPen(current ? face : ink);
    } else {
        if (current)
            painter.fillRect(r, s.greys[4]);
        painter.setPen(s.greys[3]);
        painter.drawRect(r);
        painter.setPen(current ? s.greys[0] : s.greys[3]);
    }
    painter.drawText(r, Qt::AlignCenter, tabText(index));
}

void TabWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    for (int i = 0; i < count(); ++i)
        paintTab(painter, i);
    if (hasFocus())
        FocusRing::paint(painter, tabRect(currentIndex()).adjusted(0, 0, -1, -1), this);
}
