#include "accessiblefactory.h"

#include "toolbar/toolbuttonaccessible.h"
#include "toolbar/toolwidgetbtn.h"
#include "widgets/iconbuttonaccessible.h"

#include <QAbstractButton>
#include <QAccessible>

namespace {

// Qt asks with each class of the object's chain in turn, most derived first,
// so a base class here covers its subclasses.
QAccessibleInterface *create(const QString &strClass, QObject *pObject)
{
    if (strClass == QLatin1String("ToolWidgetBtn"))
        return new ToolButtonAccessible(static_cast<ToolWidgetBtn *>(pObject));
    static const QLatin1String iconButtons[]
        = { QLatin1String("StripButton"), QLatin1String("PopupWidgetBtn"),
            QLatin1String("ColorBtn"), QLatin1String("HotKeyBtn") };
    for (const QLatin1String &name : iconButtons) {
        if (strClass == name)
            return new IconButtonAccessible(static_cast<QAbstractButton *>(pObject));
    }
    return nullptr;
}

} // namespace

void AccessibleFactory::install()
{
    static const bool installed = [] {
        QAccessible::installFactory(create);
        return true;
    }();
    Q_UNUSED(installed);
}
