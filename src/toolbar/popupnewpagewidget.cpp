#include "popupnewpagewidget.h"

#include "app/appstate.h"
#include "palettebuttons.h"
#include "panelhost.h"
#include "popupbuttons.h"
#include "popupcommands.h"
#include "widgets/popupwidgetbtn.h"

#include <QGridLayout>

namespace {

constexpr PopupCommand PageSources[] = {
    { ":/Popup/Capture", "New FullScreen Capture" },
    { ":/Popup/DuplicatePage", "New Clone of Current Page" },
    { ":/Popup/Image", "Open..." },
};

} // namespace

PopupNewpageWidget::PopupNewpageWidget(QWidget *pAnchor, QWidget *pParent)
    : PopupWidget(true, pAnchor, pParent)
{
    int row = 0;
    PopupButtons::addLabel(grid(), row, "New Blank Page", this);
    group = new PaletteButtons(grid(), row, this);
    group->append(
        PopupButtons::actionButton(QStringLiteral(":/Popup/MoreColor"), "More Colors...", this),
        MoreColor);
    group->append(
        PopupButtons::actionButton(QStringLiteral(":/Popup/Picker"), "Color Picker", this), Picker);
    row += 4;
    PopupCommands::addEntries(grid(), row, PageSources, 3, Capture, group, this);
    // The palette here names a colour to use, not the current one.
    group->setExclusive(false);
    for (QAbstractButton *button : group->buttons())
        button->setCheckable(false);
    connect(group, &QButtonGroup::idClicked, this, &PopupNewpageWidget::slot_PageColor);
}

void PopupNewpageWidget::slot_PageColor(int iColor)
{
    if (iColor == MoreColor) {
        QColor chosen;
        if (PanelHost::askColour(this, AppState::instance().draw.newpageColor, chosen))
            if (PanelHost *host = PanelHost::current())
                host->changeNewpageColor(chosen);
        return;
    }
    const QColor colour = group->colour(iColor);
    closeAndRun([colour, iColor](PanelHost *host) {
        if (colour.isValid())
            host->changeNewpageColor(colour);
        else if (iColor == Picker)
            host->selectTools(43);
        else if (iColor == Capture)
            host->run(PanelHost::NewFullScreenCapture);
        else if (iColor == Duplicate)
            host->run(PanelHost::DuplicatePage);
        else if (iColor == Open)
            host->run(PanelHost::OpenPictures);
    });
}
