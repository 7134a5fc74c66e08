#pragma once

#include "tool.h"

#include <QList>
#include <QPainterPath>
#include <QPointer>
#include <QRect>
#include <QRectF>
#include <QTimer>

#include <memory>

class MainView;
class Obj;
class ObjSelect;

// Works on both families of page objects. Floating objects (pictures) are
// selected by a click and moved, turned, resized, deleted, duplicated, copied
// and pasted through their frame handles. Layer pixels are lifted with a
// freeform lasso (or a rectangle with Shift) into a raster selection that can
// be dragged elsewhere.
//
// Every change reaches the page as an undo command pushed through the canvas.
// A push performs the command at once, so before pushing the tool puts the
// objects back as they were at the press and lets the command apply the
// change. The selection holds pointers it does not own; a raster selection
// belongs to the tool until an AddCommand puts it on the page.
class SelectTool : public Tool
{
    Q_OBJECT
public:
    SelectTool();
    ~SelectTool() override;

    void mousePress(MainView *view, const QPointF &pt, QInputEvent *event) override;
    void mouseMove(MainView *view, const QPointF &pt, QInputEvent *event) override;
    void mouseRelease(MainView *view, const QPointF &pt, QInputEvent *event) override;
    void mouseDoubleClick(MainView *view, const QPointF &pt, QInputEvent *event) override;
    void paint(QPainter *painter, const QRegion &dirty) override;
    void reset() override;

    // The selected floating objects, in the order they were selected.
    QList<Obj *> selectedObjects() const { return selection; }
    // Each returns the area to repaint.
    QRect clearSelection();
    QRect addToSelection(Obj *obj);
    QRect removeFromSelection(Obj *obj);

    // The private clipboard holds one object; these act only when exactly one
    // object is selected (paste: when the clipboard holds one).
    void copySelection();
    void cutSelection(MainView *view);
    // Removes the selected picture, as its frame's close button does.
    void deleteSelection(MainView *view);
    void pasteClipboard(MainView *view);

    bool hasRasterSelection() const { return raster != nullptr; }

public Q_SLOTS:
    void slot_Update();

private:
    enum State {
        Idle,
        DeletePressed,
        ObjectPressed, // an unselected object; it replaces the selection
        SelectionPressed, // a selected object; the whole selection moves
        RotatePressed,
        ResizePressed,
        Lasso, // drawing a lasso, or holding a raster selection
    };

    bool pressHandle(const QPointF &pt);
    bool pressObject(MainView *view, const QPointF &pt, QInputEvent *event);
    void duplicateTarget(MainView *view);
    void lassoPress(const QPointF &pt, QInputEvent *event);

    void hover(MainView *view, const QPointF &pt);
    bool dragStartedAt(const QPointF &pt);
    void moveObjects(MainView *view, const QPointF &pt);
    void rotateObjects(MainView *view, const QPointF &pt);
    void resizeTarget(MainView *view, const QPointF &pt);
    void lassoMove(MainView *view, const QPointF &pt, QInputEvent *event);
    void growOutline(MainView *view, const QPointF &pt);
    void moveRaster(MainView *view, const QPointF &pt);

    void releaseMove(MainView *view);
    void releaseRotate(MainView *view);
    void releaseResize(MainView *view);
    void releaseLasso(MainView *view, const QPointF &pt);
    bool liftPixels(MainView *view, const QPointF &pt);
    QImage liftedImage(const QImage &layer, const QRect &box) const;
    void placeRaster(MainView *view, const QPointF &pt);

    void paintLasso(QPainter *painter) const;
    void cancelGesture();
    void dropRaster();
    QRect outlineArea() const;

    QList<Obj *> selection;
    State state = Idle;
    bool dragStarted = false;
    std::unique_ptr<Obj> clipboard;
    Obj *target = nullptr;
    float rotationSum = 0;
    QRectF savedRect;
    bool freeform = true;
    QPainterPath outline; // the lasso, then where the raster selection is now
    ObjSelect *raster = nullptr; // owned until rasterOnPage
    bool rasterOnPage = false;
    double dash = 6.0;
    QTimer antsTimer;
    // The canvas of the latest gesture, for the timer and for reset.
    QPointer<MainView> canvas;
};
