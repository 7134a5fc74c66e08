#pragma once

#include <QList>
#include <QWidget>

class QHBoxLayout;
class ToolGridWidget;

// The toolbar's body below its title strip: the button grids, one above the
// other, in as many columns as the height allowed calls for. It paints
// nothing itself, so the window's face shows between them.
class ToolCentralWidget : public QWidget
{
    Q_OBJECT
public:
    ToolCentralWidget(int iTitleHeight, QWidget *pParent);

    void addGrid(ToolGridWidget *pGrid);
    void setTitleHeight(int iTitleHeight);
    // Lays the grids out again so that no column is taller than iMaxHeight,
    // where one grid per column allows it.
    void arrange(int iMaxHeight);
    int columnCount() const;

private:
    QHBoxLayout *box;
    QList<ToolGridWidget *> grids;
};
