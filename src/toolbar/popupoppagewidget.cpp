#include "popupoppagewidget.h"

#include "panelhost.h"
#include "popupbuttons.h"
#include "popupcommands.h"

#include <QButtonGroup>

namespace {

constexpr PopupCommand PageCommands[] = {
    { ":/Popup/OpPage1", "Close Current Page" },
    { ":/Popup/OpPage2", "Close All Pages" },
    { ":/Popup/OpPage3", "Clear Page" },
};

} // namespace

PopupOpPageWidget::PopupOpPageWidget(QWidget *pAnchor, QWidget *pParent)
    : PopupWidget(true, pAnchor, pParent)
    , group(new QButtonGroup(this))
{
    int row = 0;
    PopupButtons::addLabel(grid(), row, "Close Page", this);
    PopupCommands::addEntries(grid(), row, PageCommands, 3, 0, group, this);
    connect(group, &QButtonGroup::idClicked, this,
            [this](int id) { closeAndRun([id](PanelHost *host) { host->selectOpPage(id); }); });
}
