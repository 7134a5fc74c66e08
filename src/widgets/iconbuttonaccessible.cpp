#include "iconbuttonaccessible.h"

#include <QAbstractButton>

IconButtonAccessible::IconButtonAccessible(QAbstractButton *pButton)
    : QAccessibleWidget(pButton, QAccessible::Button)
{
}

QAbstractButton *IconButtonAccessible::button() const
{
    return static_cast<QAbstractButton *>(widget());
}

QString IconButtonAccessible::spoken(QString strText)
{
    strText.remove(QLatin1Char('&'));
    while (strText.endsWith(QLatin1Char('.')) || strText.endsWith(QChar(0x2026)))
        strText.chop(1);
    return strText.trimmed();
}

QAccessible::State IconButtonAccessible::state() const
{
    QAccessible::State s = QAccessibleWidget::state();
    s.checkable = button()->isCheckable();
    s.checked = button()->isChecked();
    s.pressed = button()->isDown();
    return s;
}

QString IconButtonAccessible::text(QAccessible::Text t) const
{
    // Qt describes a widget by its tooltip, which here is already the name:
    // a reader would say it twice.
    if (t == QAccessible::Description && widget()->accessibleDescription().isEmpty())
        return QString();
    if (t != QAccessible::Name)
        return QAccessibleWidget::text(t);
    for (const QString &candidate : { widget()->accessibleName(), button()->text() }) {
        if (!candidate.isEmpty())
            return spoken(candidate);
    }
    const QString tip = spoken(widget()->toolTip());
    return tip.isEmpty() ? QAccessibleWidget::text(t) : tip;
}

QStringList IconButtonAccessible::actionNames() const
{
    const QString main = button()->isCheckable() ? toggleAction() : pressAction();
    return QStringList { main } + QAccessibleWidget::actionNames();
}

void IconButtonAccessible::doAction(const QString &strAction)
{
    if (!widget()->isEnabled())
        return;
    // Queued: a click that opens a menu or a dialog runs its own event loop,
    // and the reader waiting for the action's answer would hang until it ends.
    if (strAction == pressAction() || strAction == toggleAction())
        QMetaObject::invokeMethod(button(), &QAbstractButton::click, Qt::QueuedConnection);
    else
        QAccessibleWidget::doAction(strAction);
}
