#pragma once

#include <QObject>

class MainWindow;

// The View menu's zoom commands on the current page: a step of the ladder
// in or out around the pointer, the page fitted, one for one. From the
// desktop they bring the page back first. They are offered while there is
// a page the view may zoom: none over a live desktop.
class ZoomCommands : public QObject
{
    Q_OBJECT
public:
    explicit ZoomCommands(MainWindow *pWindow);

    void zoomIn();
    void zoomOut();
    void fitPage();
    void actualSize();

private:
    // The page shown, when there is one to zoom.
    bool reachZoomablePage();
    void updateEnabled();

    MainWindow *window;
};
