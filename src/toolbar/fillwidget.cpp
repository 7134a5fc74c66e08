#include "fillwidget.h"

#include "app/appstate.h"
#include "app/lang.h"
#include "canvas/shapetool.h"
#include "canvas/toolkit.h"
#include "palettebuttons.h"
#include "panelhost.h"
#include "popupbuttons.h"
#include "popupwidget.h"
#include "widgets/popupwidgetbtn.h"

#include <QGridLayout>

namespace {

ObjShape *currentShape()
{
    ToolKit &kit = ToolKit::instance();
    return kit.currentToolId() == ToolKit::Shape ? &kit.shapeTool()->shapeTemplate : nullptr;
}

} // namespace

FillWidget::FillWidget(QWidget *pParent)
    : QWidget(pParent)
{
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(AppState::instance().scaled(3));
    colours = new PaletteButtons(grid, 0, this);
    auto *noFill = new PopupWidgetBtn(QStringLiteral(":/Popup/FillNull"), 16, this);
    auto *more
        = PopupButtons::actionButton(QStringLiteral(":/Popup/MoreColor"), "More Colors...", this);
    auto *picker
        = PopupButtons::actionButton(QStringLiteral(":/Popup/Picker"), "Color Picker", this);
    noFill->setAccessibleName(Lang::single("Accessible", QStringLiteral("No fill")));
    colours->append(noFill, NoFill);
    colours->append(more);
    colours->append(picker);
    refresh();
    connect(colours, &QButtonGroup::idClicked, this, &FillWidget::slot_FillColor);
    connect(more, &QAbstractButton::clicked, this, &FillWidget::slot_MoreColor);
    connect(picker, &QAbstractButton::clicked, this, &FillWidget::slot_PickerColor);
}

void FillWidget::refresh()
{
    const QColor fill = ToolKit::instance().shapeTool()->shapeTemplate.fill;
    colours->showColour(fill);
    if (fill.alpha() == 0)
        colours->button(NoFill)->setChecked(true);
}

void FillWidget::slot_FillColor(int iColor)
{
    if (ObjShape *shape = currentShape())
        shape->fill = iColor == NoFill ? QColor(Qt::transparent) : colours->colour(iColor);
}

void FillWidget::slot_MoreColor()
{
    ObjShape *shape = currentShape();
    QColor chosen;
    if (shape && PanelHost::askColour(this, shape->fill, chosen))
        shape->fill = chosen;
}

void FillWidget::slot_PickerColor()
{
    if (!currentShape())
        return;
    if (PopupWidget *transient = PopupWidget::transientOf(this))
        transient->close();
    if (PanelHost *host = PanelHost::current())
        host->selectTools(42);
}
