#include "tabwidget.h"

#include "app/appstate.h"
#include "app/lang.h"

#include <QMouseEvent>
#include <QPainter>

TabWidget::TabWidget(const QStringList &englishTitles, int iCurrent, QWidget *pParent)
    : QWidget(pParent)
    , current(qBound(0, iCurrent, int(englishTitles.size()) - 1))
    , tabWidth(AppState::instance().scaled(64))
    , tabHeight(AppState::instance().scaled(24))
{
    for (const QString &title : englishTitles)
        titles.append(Lang::tr("PopupWidget", title));
    Lang::release();
    setFixedSize(tabCount() * tabWidth, tabHeight);
}

QRect TabWidget::tabRect(int index) const
{
    return QRect(index * tabWidth, 0, tabWidth - 2, tabHeight - 2);
}

void TabWidget::paintEvent(QPaintEvent *)
{
    const AppState &s = AppState::instance();
    QPainter painter(this);
    for (int i = 0; i < tabCount(); ++i) {
        const QRect r = tabRect(i);
        if (i == current)
            painter.fillRect(r, s.greys[4]);
        painter.setPen(s.greys[3]);
        painter.drawRect(r);
        painter.setPen(i == current ? s.greys[0] : s.greys[3]);
        painter.drawText(r, Qt::AlignCenter, titles.at(i));
    }
}

void TabWidget::mousePressEvent(QMouseEvent *pEvent)
{
    if (pEvent->button() != Qt::LeftButton)
        return;
    for (int i = 0; i < tabCount(); ++i) {
        if (!tabRect(i).contains(pEvent->position().toPoint()))
            continue;
        current = i;
        update();
        emit signal_TabClicked(i);
        return;
    }
}
