#pragma once

#include "toolwidgetbtn.h"

#include <QColor>

// The "Draw Tool Options" button. Besides opening the option popup like any
// toolbar button, it shows the current tool's colour and the nine quick
// colours as a 3 x 3 grid of swatches on the side away from the screen
// centre. While a tool with a colour is current, a left click on a swatch
// picks its colour and a right click edits that quick colour.
class ToolWidgetBtn_Option : public ToolWidgetBtn
{
    Q_OBJECT
public:
    static constexpr int SwatchCount = 9;

    explicit ToolWidgetBtn_Option(QWidget *pParent);

    void setColour(const QColor &colour);
    void applySize() override;
    QColor colour() const { return shownColour; }
    void setSwatchesActive(bool bActive);
    bool swatchesActive() const { return active; }
    // As a click on the swatch: nothing while the current tool has no colour.
    void pickQuickColour(int index);
    // The swatch of quick colour index (0 to 8, row by row).
    QRect swatchRect(int index) const;
    // Every press opens the option popup.
    int popupKind() const override { return 1; }

Q_SIGNALS:
    void signal_ColourPicked(QColor colour);

protected:
    void mousePressEvent(QMouseEvent *pEvent) override;
    void mouseMoveEvent(QMouseEvent *pEvent) override;
    void mouseReleaseEvent(QMouseEvent *pEvent) override;
    // Keys 1 to 9 pick the quick colours, row by row.
    void keyPressEvent(QKeyEvent *pEvent) override;
    void paintEvent(QPaintEvent *pEvent) override;

private:
    int swatchAt(const QPoint &pos) const;
    QRect swatchBlock() const;
    QRect colourBar() const;
    void pickColour(int index);
    void editColour(int index);
    void paintColourBar(QPainter &painter) const;
    // Around the colour bar and the swatches: ink in the high-contrast look.
    static QColor outline();

    QColor shownColour = Qt::transparent;
    bool active = false;
    int swatchPressed = -1;
    Qt::MouseButton swatchButton = Qt::NoButton;
    QPoint swatchPressPoint;
};
