#pragma once

#include <QAccessible>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>

// Tells screen readers a changing text (a page number, a measurement) once it
// has stopped changing, as the accessible name of a widget: readers speak a
// name that changes. Nothing is built or sent while no reader listens, so
// callers may report every change, even one per mouse move; a reader that
// starts later is told the text as it is then.
class SettledAnnouncement : public QObject, public QAccessible::ActivationObserver
{
    Q_OBJECT
public:
    SettledAnnouncement(QWidget *pTarget, std::function<QString()> fnText, int iSettleMs);
    ~SettledAnnouncement() override;

    // The text may have changed; it is read and told once changes pause.
    void changed();
    // Whether a reader listens: QAccessible::isActive() unless replaced (by
    // tests, whose platform has no bridge to activate).
    static void setListening(bool (*fnListening)());

private:
    void accessibilityActiveChanged(bool bActive) override;
    void announce();

    QPointer<QWidget> target;
    std::function<QString()> text;
    QTimer settle;
};
