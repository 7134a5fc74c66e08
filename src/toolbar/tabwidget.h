#pragma once

#include <QStringList>
#include <QTabBar>

// A row of equal tabs painted in the palette greys; the current one is dark
// (inverted in the high-contrast look). Being a tab bar, Tab reaches it, the
// arrow keys switch tabs and a screen reader hears page tabs.
class TabWidget : public QTabBar
{
    Q_OBJECT
public:
    // Titles in English, translated here.
    TabWidget(const QStringList &titles, int iCurrent, QWidget *pParent);

    int tabCount() const { return count(); }
    QString tabTitle(int index) const { return tabText(index); }

Q_SIGNALS:
    void signal_TabClicked(int index);

protected:
    QSize tabSizeHint(int index) const override;
    QSize minimumTabSizeHint(int index) const override;
    void paintEvent(QPaintEvent *pEvent) override;

private:
    void paintTab(QPainter &painter, int index) const;

    const int tabWidth;
    const int tabHeight;
};
