#pragma once

#include <QObject>

class MainWindow;
class QScreen;
class QTimer;

// Follows the screens and owns the choice of the screen in use (ScreenInUse):
// the primary one at start, the one the toolbar is dropped on, the primary
// one again when the one in use goes. A change of the screen in use ends
// drawing once the change has settled, and the hidden main window follows
// the screen in use.
class ScreenWatcher : public QObject
{
    Q_OBJECT
public:
    explicit ScreenWatcher(MainWindow *pWindow);

    void useScreen(QScreen *pScreen);
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
};
