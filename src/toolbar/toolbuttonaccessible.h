#pragma once

#include <QAccessibleWidget>

class ToolWidgetBtn;

// What a screen reader sees of a toolbar button: a push button named after
// its tool, a toggle for the tools and Live Desktop (checked while current),
// with a Press action that acts as a left click on the face and, for buttons
// with a popup strip, a Show Menu action that acts as a click on the strip.
class ToolButtonAccessible : public QAccessibleWidget
{
public:
    explicit ToolButtonAccessible(ToolWidgetBtn *pButton);

    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    QString text(QAccessible::Text t) const override;
    QStringList actionNames() const override;
    void doAction(const QString &strAction) override;

private:
    ToolWidgetBtn *button() const;
    bool isToggle() const;
    bool hasPopup() const;
    void clickLater(int iKind) const;
};
