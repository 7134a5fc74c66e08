#pragma once

#include <QObject>
#include <QPoint>

class QWidget;

// Keeps a top-level window where the program put it. Right after mapping,
// some window managers report the window at the corner of their frame (0, 0)
// and never correct it; Qt would then resize it there and anchor popups to
// the wrong place. When the window system reports the window elsewhere
// without being asked, the keeper puts it back, once for each place given.
class PlaceKeeper : public QObject
{
public:
    explicit PlaceKeeper(QWidget *pWindow);

    // Where the window now is or is about to be, by the program's doing or
    // as learnt from the pointer.
    void expect(const QPoint &topLeft);
    QPoint target() const { return expected; }

protected:
    bool eventFilter(QObject *pWatched, QEvent *pEvent) override;

private:
    QWidget *window;
    QPoint expected;
    bool known = false;
    bool restored = false;
};
