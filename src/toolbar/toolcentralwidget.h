#pragma once

#include <QWidget>

class QVBoxLayout;
class ToolGridWidget;

// The toolbar's body below its title strip: the button grids, one above the
// other. It paints nothing itself, so the window's face shows between them.
class ToolCentralWidget : public QWidget
{
    Q_OBJECT
public:
    ToolCentralWidget(int iTitleHeight, QWidget *pParent);

    void addGrid(ToolGridWidget *pGrid);

private:
    QVBoxLayout *box;
};
