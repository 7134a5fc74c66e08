#pragma once

#include <QStringList>
#include <QWidget>

// A row of equal tabs painted in the palette greys; the current one is dark.
class TabWidget : public QWidget
{
    Q_OBJECT
public:
    // Titles in English, translated here.
    TabWidget(const QStringList &titles, int iCurrent, QWidget *pParent);

    int currentIndex() const { return current; }
    int tabCount() const { return int(titles.size()); }
    QString tabTitle(int index) const { return titles.value(index); }
    QRect tabRect(int index) const;

Q_SIGNALS:
    void signal_TabClicked(int index);

protected:
    void paintEvent(QPaintEvent *pEvent) override;
    void mousePressEvent(QMouseEvent *pEvent) override;

private:
    int current;
    QStringList titles;
    const int tabWidth;
    const int tabHeight;
};
