#pragma once

#include <QToolBar>

// The strip at the top of the main window that carries the menu bar; hidden
// until shown, painted with a soft grey gradient.
class TabBar : public QToolBar
{
    Q_OBJECT
public:
    explicit TabBar(QWidget *pParent = nullptr);

protected:
    void paintEvent(QPaintEvent *pEvent) override;
};
