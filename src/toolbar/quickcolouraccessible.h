#pragma once

#include <QAccessibleActionInterface>
#include <QAccessibleInterface>
#include <QPointer>

class ToolWidgetBtn_Option;

// One of the nine quick-colour swatches painted on the "Draw Tool Options"
// button, as a pressable child a screen reader can name ("Dark red") and
// press: the swatches are not widgets, so nothing else would expose them.
class QuickColourAccessible : public QAccessibleInterface, public QAccessibleActionInterface
{
public:
    QuickColourAccessible(ToolWidgetBtn_Option *pButton, int index);

    bool isValid() const override;
    QObject *object() const override;
    QWindow *window() const override;
    QAccessibleInterface *childAt(int x, int y) const override;
    QAccessibleInterface *parent() const override;
    QAccessibleInterface *child(int index) const override;
    int childCount() const override;
    int indexOfChild(const QAccessibleInterface *pChild) const override;
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text t, const QString &strText) override;
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    void *interface_cast(QAccessible::InterfaceType type) override;

    QStringList actionNames() const override;
    void doAction(const QString &strAction) override;
    QStringList keyBindingsForAction(const QString &strAction) const override;

private:
    QPointer<ToolWidgetBtn_Option> button;
    int swatch;
};
