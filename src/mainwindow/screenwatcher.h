#pragma once

#include <QList>
#include <QObject>

class MainWindow;
class QScreen;
class QTimer;

// Follows the screens: a change of the screen in use ends drawing once the
// change has settled, the screen index follows its screen when others come
// or go, and the hidden main window follows the screen in use.
class ScreenWatcher : public QObject
{
    Q_OBJECT
public:
    explicit ScreenWatcher(MainWindow *pWindow);

    void screenResized(int iScreen);
    void settled();
    // Dialogs open over the main window: hidden on the desktop, it still
    // keeps to the screen in use, so that they open where the toolbar is.
    void followScreenInUse();

private:
    void watch(QScreen *screen);
    void screenAdded(QScreen *added);
    void screenRemoved(QScreen *removed);

    MainWindow *window;
    QTimer *resizeTimer = nullptr;
    // The screens as they were before the last change: the screen index must
    // follow its screen when another one goes.
    QList<QScreen *> knownScreens;
};
