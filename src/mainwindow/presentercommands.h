#pragma once

#include <QObject>

class MainWindow;

// The presenter's commands from the menus, the tray, shortcuts and the
// command line: the laser pointer and the spotlight are chosen like drawing
// tools (from the desktop they start on a page of their own, or over the
// live desktop), fading ink switches the pen's mode.
class PresenterCommands : public QObject
{
    Q_OBJECT
public:
    explicit PresenterCommands(MainWindow *pWindow);

    void chooseLaserPointer();
    void chooseSpotlight();
    // Turned on, it also takes up the pen.
    void toggleFadingInk();

private:
    MainWindow *window;
};
