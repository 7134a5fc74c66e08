#include "popupsavewidget.h"

#include "panelhost.h"
#include "popupbuttons.h"
#include "popupcommands.h"

#include <QButtonGroup>

namespace {

constexpr PopupCommand SaveCommands[] = {
    { ":/Popup/Save1", "Save Current Page" },
    { ":/Popup/Save2", "Save All Pages" },
};

} // namespace

PopupSaveWidget::PopupSaveWidget(QWidget *pAnchor, QWidget *pParent)
    : PopupWidget(true, pAnchor, pParent)
    , group(new QButtonGroup(this))
{
    int row = 0;
    PopupButtons::addLabel(grid(), row, "Save", this);
    PopupCommands::addEntries(grid(), row, SaveCommands, 2, 0, group, this);
    connect(group, &QButtonGroup::idClicked, this, [this](int id) {
        close();
        if (PanelHost *host = PanelHost::current())
            host->selectSave(id);
    });
}
