#pragma once

#include <QObject>

class GlobalHotKeys;
class MainWindow;

// The global hotkeys and the Preferences dialog that edits them: while the
// dialog is open none of them may fire, and its changes of language, toolbar
// size and opacity reach the windows at once.
class PreferencesFlow : public QObject
{
    Q_OBJECT
public:
    explicit PreferencesFlow(MainWindow *pWindow);

    void showPreferences();
    // At the end of the program: the hotkeys go back to the desktop.
    void releaseHotKeys();

private:
    void onHotKey(int iId);

    MainWindow *window;
    GlobalHotKeys *hotKeys = nullptr;
};
