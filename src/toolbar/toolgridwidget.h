#pragma once

#include <QWidget>

class QGridLayout;

// A group of toolbar buttons on a grid whose 1 px gaps show the grid's
// background as separator lines.
class ToolGridWidget : public QWidget
{
    Q_OBJECT
public:
    explicit ToolGridWidget(QWidget *pParent);

    void addWidget(QWidget *pWidget, int row, int column, int columnSpan);

protected:
    void paintEvent(QPaintEvent *pEvent) override;

private:
    QGridLayout *grid;
};
