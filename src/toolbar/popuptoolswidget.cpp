#include "popuptoolswidget.h"

#include "panelhost.h"
#include "popupbuttons.h"
#include "popupcommands.h"

#include <QAbstractButton>
#include <QButtonGroup>

namespace {

constexpr PopupCommand CaptureTools[] = {
    { ":/Popup/Tools1", "Screen Capture (Rectangle)" },
    { ":/Popup/Tools2", "Screen Capture (Freeform Shape)" },
    { ":/Popup/Tools3", "Screen Capture (Window)" },
    { ":/Popup/Tools4", "Screen Capture (Previous Area)" },
};

constexpr PopupCommand OtherTools[] = {
    { ":/Popup/Tools5", "Color Picker" },
    { ":/Popup/Tools6", "Magnifier" },
    { ":/Popup/Tools7", "Ruler" },
    { ":/Popup/Tools8", "Protractor" },
};

} // namespace

PopupToolsWidget::PopupToolsWidget(QWidget *pAnchor, QWidget *pParent)
    : PopupWidget(true, pAnchor, pParent)
    , group(new QButtonGroup(this))
{
    int row = 0;
    PopupButtons::addLabel(grid(), row, "Screen Capture Tools", this);
    PopupCommands::addEntries(grid(), row, CaptureTools, 4, 0, group, this);
    PopupButtons::addLabel(grid(), row, "Other Tools", this);
    PopupCommands::addEntries(grid(), row, OtherTools, 4, 4, group, this);
    if (PanelHost *host = PanelHost::current())
        group->button(3)->setEnabled(host->hasPreviousArea());
    connect(group, &QButtonGroup::idClicked, this,
            [this](int id) { closeAndRun([id](PanelHost *host) { host->selectTools(id); }); });
}
