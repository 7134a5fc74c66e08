#include "toolbuttonaccessible.h"

#include "quickcolouraccessible.h"
#include "toolwidget.h"
#include "toolwidgetbtn.h"
#include "toolwidgetbtn_option.h"
#include "widgets/iconbuttonaccessible.h"

namespace {

const ToolWidget *toolbarOf(const QWidget *pInside)
{
    for (const QWidget *w = pInside; w; w = w->parentWidget()) {
        if (const auto *toolbar = qobject_cast<const ToolWidget *>(w))
            return toolbar;
    }
    return nullptr;
}

} // namespace

ToolButtonAccessible::ToolButtonAccessible(ToolWidgetBtn *pButton)
    : QAccessibleWidget(pButton, QAccessible::Button)
{
}

ToolButtonAccessible::~ToolButtonAccessible()
{
    for (QAccessible::Id id : std::as_const(swatchIds))
        QAccessible::deleteAccessibleInterface(id);
}

ToolWidgetBtn *ToolButtonAccessible::button() const
{
    return static_cast<ToolWidgetBtn *>(widget());
}

bool ToolButtonAccessible::isToggle() const
{
    const ToolWidget *toolbar = toolbarOf(widget());
    const int index = toolbar ? toolbar->indexOf(button()) : -1;
    return (index >= ToolWidget::Mouse && index <= ToolWidget::Text)
        || index == ToolWidget::LiveDesktop;
}

bool ToolButtonAccessible::hasPopup() const
{
    return button()->type() >= 2;
}

QAccessible::Role ToolButtonAccessible::role() const
{
    return QAccessible::Button;
}

QAccessible::State ToolButtonAccessible::state() const
{
    QAccessible::State s = QAccessibleWidget::state();
    if (isToggle()) {
        s.checkable = true;
        s.checked = button()->hasCurrentMark();
    }
    s.hasPopup = hasPopup();
    return s;
}

QString ToolButtonAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
        return IconButtonAccessible::spoken(widget()->toolTip());
    if (t == QAccessible::Description) {
        const ToolWidget *toolbar = toolbarOf(widget());
        return toolbar ? toolbar->description(button()) : QString();
    }
    return QAccessibleWidget::text(t);
}

QStringList ToolButtonAccessible::actionNames() const
{
    QStringList names { pressAction() };
    if (hasPopup())
        names << showMenuAction();
    return names + QAccessibleWidget::actionNames();
}

void ToolButtonAccessible::doAction(const QString &strAction)
{
    if (!widget()->isEnabled())
        return;
    // The same press kinds a mouse click on the face or the strip gives.
    if (strAction == pressAction())
        clickLater(1);
    else if (strAction == showMenuAction() && hasPopup())
        clickLater(ToolWidget::isOnLeftOf(widget()) ? 4 : 3);
    else
        QAccessibleWidget::doAction(strAction);
}

// Queued: a command that opens a popup or a dialog runs its own event loop,
// and the reader waiting for the action's answer would hang until it ends.
void ToolButtonAccessible::clickLater(int iKind) const
{
    ToolWidgetBtn *target = button();
    QMetaObject::invokeMethod(
        target, [target, iKind] { emit target->signals_Clicked(qint8(iKind)); },
        Qt::QueuedConnection);
}

int ToolButtonAccessible::childCount() const
{
    if (!qobject_cast<ToolWidgetBtn_Option *>(widget()))
        return QAccessibleWidget::childCount();
    return ToolWidgetBtn_Option::SwatchCount;
}

QAccessibleInterface *ToolButtonAccessible::child(int index) const
{
    auto *option = qobject_cast<ToolWidgetBtn_Option *>(widget());
    if (!option)
        return QAccessibleWidget::child(index);
    if (index < 0 || index >= ToolWidgetBtn_Option::SwatchCount)
        return nullptr;
    while (swatchIds.size() <= index)
        swatchIds.append(QAccessible::registerAccessibleInterface(
            new QuickColourAccessible(option, int(swatchIds.size()))));
    return QAccessible::accessibleInterface(swatchIds.at(index));
}

int ToolButtonAccessible::indexOfChild(const QAccessibleInterface *pChild) const
{
    if (!qobject_cast<ToolWidgetBtn_Option *>(widget()))
        return QAccessibleWidget::indexOfChild(pChild);
    for (int i = 0; i < swatchIds.size(); ++i)
        if (QAccessible::accessibleInterface(swatchIds.at(i)) == pChild)
            return i;
    return -1;
}

QAccessibleInterface *ToolButtonAccessible::childAt(int x, int y) const
{
    if (!qobject_cast<ToolWidgetBtn_Option *>(widget()))
        return QAccessibleWidget::childAt(x, y);
    for (int i = 0; i < childCount(); ++i) {
        QAccessibleInterface *swatch = child(i);
        if (swatch && swatch->rect().contains(x, y))
            return swatch;
    }
    return nullptr;
}
