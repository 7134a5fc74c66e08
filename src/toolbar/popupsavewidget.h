#pragma once

#include "popupwidget.h"

class QButtonGroup;

// The transient panel for saving the current page or all pages.
// A chosen entry closes the panel and goes to the main window's slot_SelectSave.
class PopupSaveWidget : public PopupWidget
{
    Q_OBJECT
public:
    PopupSaveWidget(QWidget *pAnchor, QWidget *pParent);

    QButtonGroup *entries() const { return group; }

private:
    QButtonGroup *group;
};
