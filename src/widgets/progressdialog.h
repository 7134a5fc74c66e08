#pragma once

#include <QProgressDialog>

class QProgressBar;

// Progress of a long operation (open, export), under the product title.
// Without a cancel text there is no cancel button.
class ProgressDialog : public QProgressDialog
{
    Q_OBJECT
public:
    ProgressDialog(QWidget *pParent, const QString &strLabel, const QString &strCancel, int minimum,
                   int maximum, bool bStayOnTop);

    // Moves the bar only: setValue() of a modal dialog also runs the event
    // loop, letting any slot in in the middle of the caller's.
    void advance(int iValue);

private:
    QProgressBar *bar;
};
