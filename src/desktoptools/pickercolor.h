#pragma once

#include <QRgb>
#include <QWidget>

// The colour swatch of the picker's panel.
class PickerColor : public QWidget
{
    Q_OBJECT
public:
    explicit PickerColor(QWidget *pParent);

    void setColor(QRgb rgb);
    QRgb color() const { return colour; }

protected:
    void paintEvent(QPaintEvent *pEvent) override;

private:
    QRgb colour = 0;
};
