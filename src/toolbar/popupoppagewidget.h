#pragma once

#include "popupwidget.h"

class QButtonGroup;

// The transient panel for closing the current page or all pages, or clearing the page.
// A chosen entry closes the panel and goes to the main window's slot_SelectOpPage.
class PopupOpPageWidget : public PopupWidget
{
    Q_OBJECT
public:
    PopupOpPageWidget(QWidget *pAnchor, QWidget *pParent);

    QButtonGroup *entries() const { return group; }

private:
    QButtonGroup *group;
};
