#pragma once

#include "desktoptools/zoommemory.h"

#include <QList>
#include <QObject>
#include <QPainterPath>
#include <QRect>
#include <QRgb>

class MainWindow;
class QPixmap;
class QWidget;

// Starts the desktop tools for the main window: a busy flag keeps a second
// tool out, the toolbar steps aside, the screen is grabbed after the capture
// delay and the tool's dialog runs on that still picture. Capture results go
// to a new page, a file or the clipboard.
class DesktopToolRunner : public QObject
{
    Q_OBJECT
public:
    explicit DesktopToolRunner(MainWindow *pWindow);
    ~DesktopToolRunner() override;

    void selectTools(int iTools);
    void colorPickerHotKey();
    // The last tool asked for (also the code of a window capture).
    int currentTool() const { return desktopTool; }
    // 2: new page, 3: file, 4: clipboard; anything else is a cancel.
    void deliver(int iCode, const QPixmap &picture);
    const QPainterPath &previousArea() const { return previousCaptureArea; }
    int rulerCount() const { return int(rulers.size()); }
    // At exit: the open desktop rulers go without asking for the toolbar.
    void closeRulers();

public Q_SLOTS:
    void slot_PrepareCaptureDlg();
    void slot_PrepareCaptureWin();
    void slot_PreparePickerDlg();
    void slot_PreparePickerDlg_PickerAndClose();
    void slot_PrepareZoomDlg();
    void slot_PrepareProtractorDlg();
    void slot_CreateRuler(bool bVertical);
    void slot_DeleteRuler(QWidget *pRuler);

private:
    // Sets busy, hides the toolbar unless asked not to, and runs `slot` after
    // the capture delay.
    template<typename Slot>
    void startDelayed(Slot slot, bool bHideToolbar = true);
    template<typename Slot>
    void grabWhenReady(Slot slot);
    void startWindowCapture();
    void offerRegionInstead();
    void startRuler();
    void finish();
    void rememberArea(const QPainterPath &area);
    void applyPickedColour(QRgb colour);
    QPixmap desktopStill() const;

    MainWindow *window;
    int desktopTool = -1;
    // In the coordinates of the region capture, which covers the desktop.
    QPainterPath previousCaptureArea;
    // The picked window, in the desktop's device pixels.
    QRect pickedWindow;
    bool pageSteppedAside = false;
    QList<QWidget *> rulers;
    ZoomMemory zoomMemory;
};
