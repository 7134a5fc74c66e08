#pragma once

#include <QProgressDialog>

// Progress of a long operation (open, export), under the product title.
// Without a cancel text there is no cancel button.
class ProgressDialog : public QProgressDialog
{
    Q_OBJECT
public:
    ProgressDialog(QWidget *pParent, const QString &strLabel, const QString &strCancel, int minimum,
                   int maximum, bool bStayOnTop);
};
