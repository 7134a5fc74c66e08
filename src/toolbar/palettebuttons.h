#pragma once

#include <QButtonGroup>
#include <QColor>

class QAbstractButton;
class QGridLayout;

// The 18 colours of the main palette as checkable swatches, six to a row of
// a grid, in an exclusive group with the palette index as id. Further buttons
// can follow in the same rows.
class PaletteButtons : public QButtonGroup
{
    Q_OBJECT
public:
    static constexpr int Columns = 6;

    PaletteButtons(QGridLayout *pGrid, int iFirstRow, QWidget *pOwner);

    QColor colour(int id) const;
    // Places pButton in the next cell; an id of 0 or more adds it to the group.
    void append(QAbstractButton *pButton, int id = -1);
    // Checks the swatch of that colour, or none.
    void showColour(const QColor &colour);

private:
    QGridLayout *grid;
    int cells = 0;
};
