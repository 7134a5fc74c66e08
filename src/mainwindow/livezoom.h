#pragma once

#include <QObject>
#include <QPointF>
#include <QVariantAnimation>

class MainPage;
class MainWindow;

// Zooming into the live screen. The screen is captured into a new page as a
// drawing tool chosen on the desktop captures it; the page then zooms from
// fitted to twice that around the pointer, and the view follows the pointer
// (the plain wheel zooms) until the user picks a tool or the page gets its
// first undo step, since tools work on the zoomed picture. Ending it (the
// command again, or Escape) gives the desktop back and deletes the page when
// nothing was drawn on it; a page drawn on stays, fitted. Over a live
// desktop the page still shows its picture (a zoom of the ink alone would
// show nothing) for as long as it stays the current page.
class LiveZoom : public QObject
{
    Q_OBJECT
public:
    static constexpr int AnimationMs = 200;
    static constexpr qreal Magnification = 2;

    explicit LiveZoom(MainWindow *pWindow);

    // Starts a live zoom, or ends the one shown.
    void toggle();
    // The live zoom's page is shown and not yet ended.
    bool isActive() const { return state == State::Zoomed; }
    bool isAnimating() const { return animation.state() == QAbstractAnimation::Running; }
    void end();

private:
    enum class State { Off, Capturing, Zoomed };

    void capture();
    void captured(bool bCaptured);
    void step(const QVariant &scale);
    QPointF pointerInWindow() const;
    MainPage *livePage() const;
    void stopFollowing();
    void finish();
    void showPicture();
    void releasePicture();
    void pageChanged(const MainPage *page);
    void deletePage(int id, int returnId);

    MainWindow *window;
    State state = State::Off;
    int pageId = 0;
    // The page that was current before the capture, shown again after a delete.
    int returnPageId = 0;
    // The page shown with its picture although live desktop is on.
    int picturePageId = 0;
    QVariantAnimation animation;
    // The animation's own zoom steps, told from the user's.
    bool stepping = false;
};
