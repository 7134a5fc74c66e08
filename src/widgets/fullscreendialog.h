#pragma once

#include <QDialog>
#include <QRectF>

class QScreen;

// The base of the full-screen desktop tools and the page browser: a frameless,
// stay-on-top dialog covering the screen the main window uses, or every
// screen at once.
class FullScreenDialog : public QDialog
{
    Q_OBJECT
public:
    enum Cover { CurrentScreen, WholeDesktop };

    explicit FullScreenDialog(QWidget *pParent, Cover cover = CurrentScreen);

    // The screen the main window uses (the primary one when that is gone).
    static QScreen *currentScreen();
    // The screen a window across the whole desktop belongs to, and so whose
    // ratio it takes: the one holding the desktop's centre, else the last
    // one, as the window system chooses.
    static QScreen *desktopHost();

    // A rectangle of the desktop's device pixels in the coordinates of a
    // dialog covering the whole desktop.
    static QRectF desktopCoverRect(const QRect &device);

protected:
    // The screen at the dialog's point p, or the current screen when p lies on
    // none, in the dialog's coordinates.
    QRect screenArea(const QPoint &p) const;
    // The current screen in the dialog's coordinates.
    QRect currentArea() const;
    // Plain widget handling: the dialog's own would close on Return and
    // swallow keys the tools want.
    bool event(QEvent *pEvent) override;

private:
    QRectF fromDesktop(const QRect &device) const;

    // The device pixel at the dialog's corner, and the dialog's ratio.
    QPoint deviceOrigin;
    qreal ratio = 1;
};
