#pragma once

#include <QAccessibleWidget>

class QAbstractButton;

// What a screen reader sees of a button that shows a picture instead of a
// text: named by its accessible name, else its text, else its tooltip, else
// the label it is the buddy of; a
// toggle when checkable; pressed (or toggled) by its Press or Toggle action as
// by a click.
class IconButtonAccessible : public QAccessibleWidget
{
public:
    explicit IconButtonAccessible(QAbstractButton *pButton);

    QAccessible::State state() const override;
    QString text(QAccessible::Text t) const override;
    QStringList actionNames() const override;
    void doAction(const QString &strAction) override;

    // strText as a reader should speak it: without mnemonic marks or the
    // trailing "..." of a command that opens a dialog.
    static QString spoken(QString strText);

private:
    QAbstractButton *button() const;
};
