#include "popupnewpagewidget.h"

#include "app/appstate.h"
#include "colourdialog.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/menubar.h"
#include "palettebuttons.h"
#include "popupbuttons.h"
#include "popupcommands.h"
#include "popupwidgetbtn.h"

#include <QAction>
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
    MainWindow *window = MainWindow::instance();
    if (iColor == MoreColor) {
        QColor chosen;
        if (ColourDialog::ask(this, AppState::instance().draw.newpageColor, chosen) && window)
            window->slot_ChangeNewpageColor(chosen);
        return;
    }
    const QColor colour = group->colour(iColor);
    close();
    if (!window)
        return;
    if (colour.isValid())
        window->slot_ChangeNewpageColor(colour);
    else if (iColor == Picker)
        window->slot_SelectTools(43);
    else if (iColor == Capture)
        window->menu()->actionNewFullScreenCapture->trigger();
    else if (iColor == Duplicate)
        window->menu()->actionDuplicatePage->trigger();
    else if (iColor == Open)
        window->menu()->actionOpen->trigger();
}
