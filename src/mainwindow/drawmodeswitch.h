#pragma once

#include <QObject>

#include <memory>

class MainWindow;
class ScreenGrab;

// Moves the program between its two modes. On the desktop the main window is
// hidden and the toolbar floats as a window of its own; over a page the main
// window covers one screen, stays on top and holds the toolbar. Live desktop
// lets the running desktop show through the page.
class DrawModeSwitch : public QObject
{
    Q_OBJECT
public:
    explicit DrawModeSwitch(MainWindow *pWindow);
    ~DrawModeSwitch() override;

    void setDrawMode(bool bDrawMode);
    void toggleLiveDesktop();
    // A drawing tool chosen on the desktop starts on a fresh capture of the
    // screen, taken once the toolbar is out of the picture.
    void startCapture();
    // After the delay: once the desktop's picture can be had, the page.
    void finishCapture();
    // From the desktop, page commands bring back the last drawing tool and
    // the drawing window.
    void enterFromDesktop();
    void leaveAndWait();
    // A captured page whose picture file the disk refused.
    void reportUnwrittenPicture();

private:
    void captureIntoPage();
    void cancelCapture();
    void waitForDesktopMode();

    MainWindow *window;
    // The capture's grab, made ready while the capture delay runs.
    std::unique_ptr<ScreenGrab> grab;
};
