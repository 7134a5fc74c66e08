#pragma once

#include <QObject>
#include <QPointer>

class QScreen;

// The screen the program works on: new pages take its size, the drawing
// window and the full-screen tools open on it, and the toolbar keeps to it on
// the desktop. Its one writer is the main window's screen watcher, which
// follows the toolbar dropped on another screen and the screens that come
// and go; everyone else reads it here or hears changed().
class ScreenInUse : public QObject
{
    Q_OBJECT
public:
    static ScreenInUse &instance();

    // The primary screen until one is chosen, and again once the chosen one
    // is gone.
    static QScreen *screen();
    // Its place in QGuiApplication::screens().
    static int index();

    void use(QScreen *pScreen);

Q_SIGNALS:
    void changed(QScreen *pScreen);

private:
    QPointer<QScreen> chosen;
};
