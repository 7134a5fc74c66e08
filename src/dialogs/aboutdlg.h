#pragma once

#include "widgets/maindialog.h"

class IconWidget;
class QLabel;

// Shows the program's picture, name and version.
class AboutDlg : public MainDialog
{
    Q_OBJECT
public:
    explicit AboutDlg(QWidget *pParent = nullptr);

    IconWidget *icon() const { return iconWidget; }
    QLabel *versionLabel() const { return version; }

private:
    IconWidget *iconWidget;
    QLabel *version;
};
