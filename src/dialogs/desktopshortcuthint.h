#pragma once

#include <QLabel>

// Said beside the hotkeys where the desktop keeps global keys to itself (a
// Wayland session): its own shortcut settings must call the program's
// command line, and these are the commands. Hidden where hotkeys just work.
class DesktopShortcutHint : public QLabel
{
    Q_OBJECT
public:
    explicit DesktopShortcutHint(QWidget *pParent = nullptr);

    // The command lines offered, one per line.
    static QStringList commands();

public Q_SLOTS:
    void slot_UpdateLang();
};
