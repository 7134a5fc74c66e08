#pragma once

#include <QObject>

// Carries fired global hotkeys from the platform backend to the rest of the
// program, on the GUI thread. Only backends emit; anyone may listen.
class HotKeyEvents : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

Q_SIGNALS:
    // The combination registered under iId was pressed.
    void signal_HotKey(int iId);
};
