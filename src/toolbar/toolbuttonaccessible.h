#pragma once

#include <QAccessibleWidget>

class ToolWidgetBtn;

// What a screen reader sees of a toolbar button: a push button named after
// its tool, a toggle for the tools and Live Desktop (checked while current),
// with a Press action that acts as a left click on the face and, for buttons
// with a popup strip, a Show Menu action that acts as a click on the strip.
// The option button's quick-colour swatches are its children.
class ToolButtonAccessible : public QAccessibleWidget
{
public:
    explicit ToolButtonAccessible(ToolWidgetBtn *pButton);
    ~ToolButtonAccessible() override;

    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    QString text(QAccessible::Text t) const override;
    QStringList actionNames() const override;
    void doAction(const QString &strAction) override;
    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *pChild) const override;
    QAccessibleInterface *childAt(int x, int y) const override;

private:
    ToolWidgetBtn *button() const;
    bool isToggle() const;
    bool hasPopup() const;
    void clickLater(int iKind) const;

    // Registered with the accessibility cache on first use, released with us.
    mutable QList<QAccessible::Id> swatchIds;
};
