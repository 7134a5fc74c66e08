#pragma once

#include <QWidget>

// A one-pixel line between groups of controls, in the middle palette grey.
class Separator : public QWidget
{
    Q_OBJECT
public:
    Separator(bool bVertical, QWidget *pParent);

protected:
    void paintEvent(QPaintEvent *pEvent) override;
};
