#pragma once

#include "desktoptoolpanel.h"

#include <QRgb>

class PickerColor;
class PickerView;
class QImage;
class QLabel;

// The colour picker's movable panel: swatch, position, RGB, hexadecimal and
// HSV values and the enlarged view of the pixels around the sampled one.
class PickerOptionWidget : public DesktopToolPanel
{
    Q_OBJECT
public:
    // pStill: the screen picture the dialog samples, outliving the panel.
    PickerOptionWidget(const QString &strTitle, const QImage *pStill, QWidget *pParent);

    // rgb was read at pixel of the screen picture.
    void setColor(QRgb rgb, const QPoint &pixel);

protected:
    void mousePressEvent(QMouseEvent *pEvent) override;
    void mouseMoveEvent(QMouseEvent *pEvent) override;
    void mouseReleaseEvent(QMouseEvent *pEvent) override;

private:
    QLabel *addLabel(const QString &strText, int iRow);
    void keepInsideParent();

    enum Value { Position, Red, Green, Blue, Hex, Hue, Saturation, Brightness, ValueCount };

    bool dragging = false;
    QPoint dragOffset;
    PickerColor *swatch;
    QLabel *values[ValueCount];
    PickerView *view;
};
