#pragma once

#include <QLabel>

// A picture label that takes the keyboard (the window capture's camera) and
// so must show the focus ring while it has it.
class FocusLabel : public QLabel
{
    Q_OBJECT
public:
    explicit FocusLabel(QWidget *pParent);

protected:
    void paintEvent(QPaintEvent *pEvent) override;
};
