#pragma once

#include <QKeyEvent>
#include <QLineEdit>

// The field of a hotkey editor. Every key press, including the ones a line
// edit or the dialog would act on, goes to signal_ChangeHotKey; the owner
// decides what the field shows, and ignores the event to pass it on to the
// dialog.
class HotKeyLineEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit HotKeyLineEdit(QWidget *pParent = nullptr);

Q_SIGNALS:
    void signal_ChangeHotKey(QKeyEvent *pEvent);

protected:
    bool event(QEvent *pEvent) override;
    void keyPressEvent(QKeyEvent *pEvent) override;
};
