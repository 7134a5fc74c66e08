#pragma once

#include "tool.h"

#include <QList>
#include <QPainterPath>
#include <QRect>
#include <QRectF>
#include <QTimer>

#include <memory>

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

    void mouseDoubleClick(ToolHost *host, const QPointF &pt, QInputEvent *event) override;
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
    void cutSelection(ToolHost *host);
    // Removes the selected picture, as its frame's close button does.
    void deleteSelection(ToolHost *host);
    void pasteClipboard(ToolHost *host);

    bool hasRasterSelection() const { return raster != nullptr; }

public Q_SLOTS:
    void slot_Update();

protected:
    void begin(ToolHost *host, const Input &input) override;
    void move(ToolHost *host, const Input &input) override;
    void end(ToolHost *host, const Input &input) override;
    void cancel(ToolHost *host) override;
    void hover(ToolHost *host, const Input &input) override;

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
    bool pressObject(ToolHost *host, const Input &input);
    void duplicateTarget(ToolHost *host);
    void lassoPress(const Input &input);

    void hoverCursor(ToolHost *host, const QPointF &pt);
    bool dragStartedAt(const QPointF &pt);
    void moveObjects(ToolHost *host, const QPointF &pt);
    void rotateObjects(ToolHost *host, const QPointF &pt);
    void resizeTarget(ToolHost *host, const QPointF &pt);
    void lassoMove(ToolHost *host, const QPointF &pt);
    void growOutline(ToolHost *host, const QPointF &pt);
    void moveRaster(ToolHost *host, const QPointF &pt);

    void releaseMove(ToolHost *host);
    void releaseRotate(ToolHost *host);
    void releaseResize(ToolHost *host);
    void releaseLasso(ToolHost *host, const QPointF &pt);
    bool liftPixels(ToolHost *host, const QPointF &pt);
    QImage liftedImage(const QImage &layer, const QRect &box) const;
    void placeRaster(ToolHost *host, const QPointF &pt);
    void cancelLasso(ToolHost *host);

    void paintLasso(QPainter *painter) const;
    void putBack();
    void dropRaster();
    QRect outlineArea() const;

    QList<Obj *> selection;
    State state = Idle;
    bool dragStarted = false;
    QPointF dragPoint; // where the drag last left the objects or the raster
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
    HostPointer canvas;
};
