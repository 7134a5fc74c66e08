#pragma once

class QAbstractButton;
class QButtonGroup;
class QGridLayout;
class QWidget;

// The "Line Style:" and "Shadow:" rows that the line and shape pages share.
// Button ids are pen styles minus one (solid line first).
class PenStyleRows
{
public:
    static constexpr int StyleCount = 5;

    static QButtonGroup *addStyles(QGridLayout *pGrid, int &iRow, int iPenStyle, QWidget *pOwner);
    static QAbstractButton *addShadow(QGridLayout *pGrid, int &iRow, int iShadow, QWidget *pOwner);
};
