#pragma once

#include <QDialog>
#include <QPixmap>
#include <QPointer>
#include <QRect>

#include <array>

class PopupWidgetBtn;
class QLabel;
class SmallLabel;

// The window capture's floating panel. The user drags its camera icon onto a
// window; the window under the pointer is framed while the icon passes over
// it, and the one framed when the icon is dropped is picked. Ends with a
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

public Q_SLOTS:
    void slot_Captopage();
    void slot_Captofile();
    void slot_Captoclip();

protected:
    void paintEvent(QPaintEvent *pEvent) override;
    void mousePressEvent(QMouseEvent *pEvent) override;
    void mouseMoveEvent(QMouseEvent *pEvent) override;
    void mouseReleaseEvent(QMouseEvent *pEvent) override;

private:
    enum DragState { NoDrag = 0, MovingPanel, DraggingCamera };

    void buildLayout();
    void startPicking();
    void pickAt(const QPoint &globalPos);
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
    QRect picked;
    WId framed = 0;
    QLabel *camera;
    SmallLabel *infoLabel;
    std::array<PopupWidgetBtn *, 3> outputs;
    QList<QPointer<QWidget>> excluded;
};
