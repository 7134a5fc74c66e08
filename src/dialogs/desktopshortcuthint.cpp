#include "desktopshortcuthint.h"

#include "app/lang.h"
#include "platform/platform.h"

DesktopShortcutHint::DesktopShortcutHint(QWidget *pParent)
    : QLabel(pParent)
{
    setObjectName(QStringLiteral("desktopShortcutHint"));
    setWordWrap(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse);
    setVisible(!Platform::instance().hotKeyAdvice().isEmpty());
    slot_UpdateLang();
}

QStringList DesktopShortcutHint::commands()
{
    QStringList lines;
    // The hotkeys, in their order.
    for (const char *action : { "new-page", "new-capture", "colour-picker", "back-to-last-page",
                                "zoom", "focus-toolbar" })
        lines.append(QStringLiteral("tavelmark --action %1").arg(QLatin1String(action)));
    return lines;
}

void DesktopShortcutHint::slot_UpdateLang()
{
    const QString advice = Platform::instance().hotKeyAdvice();
    if (advice.isEmpty())
        return clear();
    setText(Lang::tr("Preferences", advice) + QLatin1Char('\n')
            + commands().join(QLatin1Char('\n')));
}
