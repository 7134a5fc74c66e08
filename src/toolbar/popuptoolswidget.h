#pragma once

#include "popupwidget.h"

class QButtonGroup;

// The transient panel for the desktop tools: four ways of capturing the screen and four other
// tools. A chosen entry closes the panel and goes to the main window's slot_SelectTools.
class PopupToolsWidget : public PopupWidget
{
    Q_OBJECT
public:
    PopupToolsWidget(QWidget *pAnchor, QWidget *pParent);

    QButtonGroup *entries() const { return group; }

private:
    QButtonGroup *group;
};
