#pragma once

#include <QObject>
#include <QTimer>

#include <functional>

class MainWindow;
class WaitNote;

// Holds a grab back until the desktop has handed over its picture (Wayland's
// screenshot portal) without holding up the program: the grab runs in a
// continuation. A portal slower than a moment gets a note with Cancel, which
// ends the wait at once; the portal's own deadline ends it otherwise, in a
// refusal the grab then reports. Where grabs are made on the spot the
// continuation runs at once.
class DesktopWait : public QObject
{
    Q_OBJECT
public:
    explicit DesktopWait(MainWindow *pWindow);
    ~DesktopWait() override;

    // Runs then() when the screen can be grabbed, or cancelled() when the
    // user gives up waiting. A wait already running is given up silently.
    void whenReady(std::function<void()> then, std::function<void()> cancelled);
    bool isWaiting() const { return bool(pendingThen); }
    // The note, shown while the wait lasts long enough (null before).
    WaitNote *note() const { return waitNote; }

    // How long a picture may take before the note shows.
    static constexpr int NoteDelayMs = 1000;

private:
    void ask();
    void fetched();
    void showNote();
    void cancel();
    void stopWaiting();

    MainWindow *window;
    WaitNote *waitNote = nullptr;
    QTimer noteDelay;
    std::function<void()> pendingThen;
    std::function<void()> pendingCancelled;
    QMetaObject::Connection fetchedConnection;
    QMetaObject::Connection askingConnection;
    // The note was on screen while the portal may have taken its picture.
    bool noteShown = false;
    bool askedAgain = false;
};
