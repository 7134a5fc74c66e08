#include "quickcolouraccessible.h"

#include "app/appstate.h"
#include "app/lang.h"
#include "toolwidgetbtn_option.h"
#include "widgets/colourname.h"

#include <QWidget>

QuickColourAccessible::QuickColourAccessible(ToolWidgetBtn_Option *pButton, int index)
    : button(pButton)
    , swatch(index)
{
}

bool QuickColourAccessible::isValid() const
{
    return !button.isNull();
}

QObject *QuickColourAccessible::object() const
{
    return nullptr;
}

QWindow *QuickColourAccessible::window() const
{
    return button ? button->window()->windowHandle() : nullptr;
}

QAccessibleInterface *QuickColourAccessible::childAt(int, int) const
{
    return nullptr;
}

QAccessibleInterface *QuickColourAccessible::parent() const
{
    return button ? QAccessible::queryAccessibleInterface(button.data()) : nullptr;
}

QAccessibleInterface *QuickColourAccessible::child(int) const
{
    return nullptr;
}

int QuickColourAccessible::childCount() const
{
    return 0;
}

int QuickColourAccessible::indexOfChild(const QAccessibleInterface *) const
{
    return -1;
}

QString QuickColourAccessible::text(QAccessible::Text t) const
{
    QString said;
    if (t == QAccessible::Name)
        said = ColourName::spoken(AppState::instance().rgb2.value(swatch));
    else if (t == QAccessible::Description)
        said = Lang::tr("Accessible", QStringLiteral("Quick colour %1: right click to change it"))
                   .arg(swatch + 1);
    // A reader asks often: the language table is not kept loaded between.
    Lang::release();
    return said;
}

void QuickColourAccessible::setText(QAccessible::Text, const QString &) { }

QRect QuickColourAccessible::rect() const
{
    if (!button)
        return QRect();
    const QRect local = button->swatchRect(swatch);
    return QRect(button->mapToGlobal(local.topLeft()), local.size());
}

QAccessible::Role QuickColourAccessible::role() const
{
    return QAccessible::Button;
}

QAccessible::State QuickColourAccessible::state() const
{
    QAccessible::State s;
    if (!button) {
        s.invalid = true;
        return s;
    }
    s.invisible = !button->isVisible();
    s.disabled = !button->swatchesActive() || !button->isEnabled();
    return s;
}

void *QuickColourAccessible::interface_cast(QAccessible::InterfaceType type)
{
    return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface *>(this)
                                                : nullptr;
}

QStringList QuickColourAccessible::actionNames() const
{
    return { pressAction() };
}

void QuickColourAccessible::doAction(const QString &strAction)
{
    if (button && strAction == pressAction())
        button->pickQuickColour(swatch);
}

QStringList QuickColourAccessible::keyBindingsForAction(const QString &strAction) const
{
    if (strAction != pressAction())
        return {};
    return { QString::number(swatch + 1) };
}
