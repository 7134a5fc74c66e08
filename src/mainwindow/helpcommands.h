#pragma once

#include <QObject>
#include <QString>

class MainWindow;

// The Help menu: the guide, feedback, the update check and About. A
// downloaded update is handed over when the program closes.
class HelpCommands : public QObject
{
    Q_OBJECT
public:
    explicit HelpCommands(MainWindow *pWindow);

    void help();
    void feedback();
    void checkForUpdates();
    void about();
    // At the end of the program: starts a downloaded update, if any.
    void startDownloadedUpdate();

private:
    MainWindow *window;
    QString updateInstaller;
};
