#pragma once

#include <QToolButton>

// The clear button at the end of a hotkey editor: a small cross, darker
// under the pointer.
class HotKeyBtn : public QToolButton
{
    Q_OBJECT
public:
    explicit HotKeyBtn(QWidget *pParent = nullptr);

protected:
    void paintEvent(QPaintEvent *pEvent) override;
};
