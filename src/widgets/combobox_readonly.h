#pragma once

#include <QComboBox>

// A list to choose from that cannot be typed into, and that a wheel turned
// over a panel does not change by accident: the wheel acts only while the
// list has the focus.
class ComboBox_ReadOnly : public QComboBox
{
    Q_OBJECT
public:
    explicit ComboBox_ReadOnly(QWidget *pParent);

protected:
    void wheelEvent(QWheelEvent *pEvent) override;
};
