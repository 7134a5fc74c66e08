#pragma once

#include <QKeyEvent>
#include <QWidget>

class HotKeyBtn;
class HotKeyLineEdit;

// One hotkey editor: a field that captures a key combination and a button
// that clears it, drawn as one white box with a grey rim.
class HotKeyWidget : public QWidget
{
    Q_OBJECT
public:
    explicit HotKeyWidget(QWidget *pParent = nullptr);

    HotKeyLineEdit *lineEdit() const { return edit; }
    HotKeyBtn *button() const { return clearBtn; }

Q_SIGNALS:
    void signal_ChangeHotKey(QKeyEvent *pEvent);
    void signal_ClearHotKey();

protected:
    void paintEvent(QPaintEvent *pEvent) override;

private:
    HotKeyLineEdit *edit;
    HotKeyBtn *clearBtn;
};
