#pragma once

#include "captureloupe.h"
#include "widgets/fullscreendialog.h"

#include <QCursor>
#include <QPainterPath>
#include <QPixmap>

class CaptureOptionWidget;
class SettledAnnouncement;

// Marks the area to capture on a still picture of the whole desktop, which
// the dialog covers: a rectangle with corner handles, a freeform shape, or
// the previous capture's area. By keys a freeform shape is a polygon: the
// arrows move a cursor (Shift by ten), Space sets a corner there (on the
// start corner it closes the shape), Return closes the shape of three
// corners or more, and Return again takes it. Ends with a capture result code: 0 cancelled, 2 as a
// new page, 3 as a file, 4 to the clipboard; the caller then reads areaPath().
class CaptureDlg : public FullScreenDialog
{
    Q_OBJECT
public:
    enum Mode { Rectangle = 0, Freeform = 1, PreviousArea = 3 };

    // screenImage is the caller's still picture of the desktop in device
    // pixels at the ratio of the dialog's screen (see desktopHost()); it must
    // outlive the dialog. previousArea is used in PreviousArea mode.
    CaptureDlg(int iMode, QPixmap *pScreenImage, QWidget *pParent,
               const QPainterPath &previousArea = QPainterPath());

    int mode() const { return captureMode; }
    // The area in dialog coordinates; in rectangle mode it becomes the marked
    // rectangle when an output is chosen.
    const QPainterPath &areaPath() const { return area; }
    // The marked rectangle (inclusive corners); the area's bounds in the
    // other modes.
    QRect markedRect() const { return marked; }
    // Top-left of the 220 x 20 box showing the rectangle's coordinates.
    QPoint coordinatesBoxPos() const { return boxPos; }
    QPoint loupeCentre() const { return loupe.centre(); }
    // Freeform mode: the shape is finished.
    bool isClosed() const { return closed; }
    CaptureOptionWidget *optionWidget() const { return optionPanel; }
    // The marked rectangle as a reader speaks it once it stops changing; in
    // freeform mode the bounds of the shape with the cursor as its next
    // corner, or the cursor alone before the first.
    QString spokenMeasurement() const;
    // Freeform mode: where the next corner or stretch starts from.
    QPointF cursorPoint() const { return lastPoint; }

public Q_SLOTS:
    void slot_Captopage();
    void slot_Captofile();
    void slot_Captoclip();

protected:
    void paintEvent(QPaintEvent *pEvent) override;
    void mousePressEvent(QMouseEvent *pEvent) override;
    void mouseMoveEvent(QMouseEvent *pEvent) override;
    void mouseReleaseEvent(QMouseEvent *pEvent) override;
    void mouseDoubleClickEvent(QMouseEvent *pEvent) override;
    void keyPressEvent(QKeyEvent *pEvent) override;
    void keyReleaseEvent(QKeyEvent *pEvent) override;

private:
    enum Handle { NoHandle = 0, TopLeft, TopRight, BottomRight, BottomLeft, Body };

    void finish(int iCode);
    void placeOptionPanel();

    // Rectangle mode.
    int handleAt(const QPoint &p) const;
    QPoint handlePoint(int iHandle) const;
    QRect handleSquare(int iHandle) const;
    void rectanglePress(const QPoint &p);
    void rectangleMove(QMouseEvent *pEvent);
    void rectangleRelease(const QPoint &p);
    void dragHandle(int iHandle, const QPoint &p);
    void moveCorner(int iHandle, const QPoint &to);
    void moveBody(const QPoint &d);
    void placeCoordinatesBox();
    void setHoverCursor(const QPoint &p);

    // Freeform mode.
    // Freeform points are exact to the device pixel.
    QPointF startPoint() const;
    bool onStartSquare(const QPointF &p) const;
    void freeformPress(const QPointF &p);
    void freeformMove(QMouseEvent *pEvent);
    void freeformRelease(const QPointF &p);
    void freeformDoubleClick(const QPointF &p);
    void closeFreeform(const QPointF &p);
    void freeformKey(QKeyEvent *pEvent);
    void addCorner();
    QRect freeformBounds() const;

    void darkenOutside(QPainter &painter, const QPainterPath &inside) const;
    void paintRectangle(QPainter &painter) const;
    void paintFreeform(QPainter &painter) const;
    void paintPreviousArea(QPainter &painter) const;
    void paintLoupe(QPainter &painter, const QPointF &p) const;

    bool pressed = false;
    QPoint pressPoint;
    QPoint dragAnchor;
    int captureMode;
    QPainterPath area;
    int currentHandle = NoHandle;
    QRect marked;
    QPoint boxPos;
    QPointF lastPoint;
    bool closed = false;
    CaptureLoupe loupe;
    CaptureOptionWidget *optionPanel = nullptr;
    SettledAnnouncement *measurement;
    QPixmap *screenImage;

    QCursor crossCursor;
    QCursor crossFindCursor;
    QPixmap scalePicture;
};
