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
    if (t != QAccessible::Name)
        return QAccessibleWidget::text(t);
    for (const QString &candidate : { widget()->accessibleName(), button()->text() }) {
        if (!candidate.isEmpty())
            return spoken(candidate);
    }
    return spoken(widget()->toolTip());
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
    if (strAction == pressAction() || strAction == toggleAction())
        button()->click();
    else
        QAccessibleWidget::doAction(strAction);
}
