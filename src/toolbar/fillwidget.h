#pragma once

#include <QWidget>

class PaletteButtons;

// The fill page of the shape tool: the palette, no fill, more colours and
// the picker.
class FillWidget : public QWidget
{
    Q_OBJECT
public:
    static constexpr int NoFill = 18;

    explicit FillWidget(QWidget *pParent);

    PaletteButtons *colourGroup() const { return colours; }
    void refresh();

public Q_SLOTS:
    void slot_FillColor(int iColor);
    void slot_MoreColor();
    void slot_PickerColor();

private:
    PaletteButtons *colours;
};
