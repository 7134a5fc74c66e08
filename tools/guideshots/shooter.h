#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>

#include <functional>

class MainWindow;
class QWidget;

// Takes the pictures of the user guide from the running program: the toolbar
// over a lesson slide, drawing, the panels, the menus and the dialogs.
class Shooter
{
public:
    Shooter(MainWindow &window, const QString &strFolder);

    // False when a picture could not be taken or saved.
    bool run();

private:
    bool toolbarOverDesktop();
    bool menu();
    bool drawing();
    bool presenting();
    bool panels();
    bool dialogs();
    bool update();

    void draw(const QList<QPoint> &points);
    bool saveScreen(const QString &strName, const QRect &area);
    bool saveWidget(const QString &strName, QWidget *pWidget);
    // Runs `open`, which shows a modal dialog, and saves that dialog.
    bool saveModal(const QString &strName, const std::function<void()> &open);

    MainWindow &window;
    QString folder;
};
