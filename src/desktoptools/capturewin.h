#pragma once

#include <QDialog>
#include <QPixmap>
#include <QPointer>
#include <QRect>

#include <array>

class PopupWidgetBtn;
class QLabel;
class SettledAnnouncement;
class SmallLabel;

// The window capture's floating panel. The user drags its camera icon onto a
// window; the window under the pointer is framed while the icon passes over
// it, and the one framed when the icon is dropped is picked. By keys, with
// the camera focused, the arrows step through the shown windows from the
// uppermost down (Down and Right) or back up (Up and Left), framing and
// picking each; Return takes the picked one as a new page. Ends with a
// capture result code (0 cancelled, 2 as a new page, 3 as a file, 4 to the
// clipboard); the caller then reads pickedRect().
class CaptureWin : public QDialog
{
    Q_OBJECT
public:
    explicit CaptureWin(QWidget *pParent);
    ~CaptureWin() override;

    // Another of our windows never to pick, such as the floating toolbar
    // (the panel itself is never picked).
    void excludeWindow(QWidget *pWidget);
    // The picked window's rectangle in the desktop's device pixels, frame
    // included; empty while no window is picked.
    QRect pickedRect() const { return picked; }
    bool isPicking() const { return picking; }
    // The native window framed during the pick, 0 when none.
    WId framedWindow() const { return framed; }
    QLabel *cameraLabel() const { return camera; }
    // The picked window as a reader speaks it: its title when known, then
    // its place and size.
    QString spokenPick() const;
    // Whatever ends the panel takes the frame off the window.
    void done(int iResult) override;

public Q_SLOTS:
    void slot_Captopage();
    void slot_Captofile();
    void slot_Captoclip();

protected:
    void paintEvent(QPaintEvent *pEvent) override;
    void mousePressEvent(QMouseEvent *pEvent) override;
    void mouseMoveEvent(QMouseEvent *pEvent) override;
    void mouseReleaseEvent(QMouseEvent *pEvent) override;
    void keyPressEvent(QKeyEvent *pEvent) override;

private:
    enum DragState { NoDrag = 0, MovingPanel, DraggingCamera };

    void buildLayout();
    void startPicking();
    void pickAt(const QPoint &globalPos);
    bool frame(WId window);
    void stepPick(int iStep);
    void unframe();
    void endPicking(const QPoint &globalPos);
    void showHint();
    void enableOutputs(bool bEnabled);
    QList<WId> excludedWindows() const;

    QPixmap cameraPicture;
    QString title;
    int dragState = NoDrag;
    QPoint dragOffset;
    QPoint pressPoint;
    bool picking = false;
    bool noneToStepTo = false;
    QRect picked;
    WId framed = 0;
    WId pickedWindow = 0;
    QLabel *camera;
    SmallLabel *infoLabel;
    std::array<PopupWidgetBtn *, 3> outputs;
    QList<QPointer<QWidget>> excluded;
    SettledAnnouncement *announcement;
};
