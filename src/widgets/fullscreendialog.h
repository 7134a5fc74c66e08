#pragma once

#include <QDialog>

class QScreen;

// The base of the full-screen desktop tools and the page browser: a frameless,
// stay-on-top dialog covering the screen the main window uses.
class FullScreenDialog : public QDialog
{
    Q_OBJECT
public:
    explicit FullScreenDialog(QWidget *pParent);

    // The screen the main window uses (the primary one when that is gone).
    static QScreen *currentScreen();

protected:
    // Plain widget handling: the dialog's own would close on Return and
    // swallow keys the tools want.
    bool event(QEvent *pEvent) override;
};
