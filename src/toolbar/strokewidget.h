#pragma once

#include <QWidget>

class PaletteButtons;
class QButtonGroup;
class QGridLayout;
class QSlider;

// The stroke page of the draw-tool options: width presets and a width
// slider, the palette (not for the eraser) and, for the shape and text
// tools, an opacity slider. Built for one tool; acts on the current tool.
class StrokeWidget : public QWidget
{
    Q_OBJECT
public:
    StrokeWidget(int iTool, QWidget *pParent);

    int tool() const { return iTool; }
    int presetValue(int id) const;
    QButtonGroup *presetGroup() const { return presets; }
    QSlider *widthSlider() const { return width; }
    PaletteButtons *colourGroup() const { return colours; }
    QSlider *opacitySlider() const { return opacity; }

    // Shows the current tool's width and colour after a change made elsewhere.
    void refresh();

public Q_SLOTS:
    void slot_StrokeWidth(int iWidth);
    void slot_StrokeWidth_Slider(int value);
    void slot_StrokeColor(int iColor);
    void slot_MoreColor();
    void slot_PickerColor();
    void slot_StrokeOpacity_Slider(int iOpacity);

Q_SIGNALS:
    // The width or colour was changed from this page.
    void signal_StrokeChanged();

private:
    void addPresets(QGridLayout *pGrid, int &iRow);
    void addWidthSlider(QGridLayout *pGrid, int &iRow);
    void addColours(QGridLayout *pGrid, int &iRow);
    void addOpacitySlider(QGridLayout *pGrid, int &iRow);
    QSlider *addSlider(QGridLayout *pGrid, int &iRow, const char *pLow, const char *pHigh);

    const int iTool;
    QButtonGroup *presets = nullptr;
    QSlider *width = nullptr;
    PaletteButtons *colours = nullptr;
    QSlider *opacity = nullptr;
};
