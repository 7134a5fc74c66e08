#include "popupsavewidget.h"

#include "panelhost.h"
#include "popupbuttons.h"
#include "popupcommands.h"

#include <QButtonGroup>

namespace {

// The editable document first; its id follows the pictures' ids.
constexpr PopupCommand DocumentCommand[] = {
    { ":/Popup/Save0", "Tavelmark document (*.tavelmark)" },
};
constexpr int DocumentId = 2;

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
    PopupCommands::addEntries(grid(), row, DocumentCommand, 1, DocumentId, group, this);
    PopupCommands::addEntries(grid(), row, SaveCommands, 2, 0, group, this);
    connect(group, &QButtonGroup::idClicked, this,
            [this](int id) { closeAndRun([id](PanelHost *host) { host->selectSave(id); }); });
}
