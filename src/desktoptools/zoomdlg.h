#pragma once

#include "widgets/fullscreendialog.h"

#include <QPixmap>
#include <QPointF>

class SettledAnnouncement;
class ZoomOptionWidget;
struct ZoomMemory;

// The magnifier: a still picture of the screen with a movable, resizable frame
// that shows the area under it enlarged, or, in full-screen mode, the whole
// picture enlarged and panned by the user. It ends with a capture result code:
// 0 cancelled, 2 new page, 3 file, 4 clipboard; for 2 to 4 the caller takes
// outputPicture().
class ZoomDlg : public FullScreenDialog
{
    Q_OBJECT
public:
    // pScreenImage: the still picture of the screen the dialog covers;
    // pMemory: how the last magnifier was left, kept up to date; both must
    // outlive the dialog.
    ZoomDlg(QPixmap *pScreenImage, ZoomMemory *pMemory, QWidget *pParent);

    QPixmap outputPicture() const { return output; }
    // Inclusive corners, in dialog pixels.
    QRect frame() const { return frameRect; }
    // Full-screen mode: where the enlarged picture's top-left corner lies.
    QPointF panOffset() const { return pan; }
    bool factorLabelShown() const { return labelCount > 0; }
    // The frame's place and size (or the full-screen view) and the zoom, as a
    // reader speaks them once they stop changing.
    QString spokenView() const;

public Q_SLOTS:
    void slot_Captopage();
    void slot_Captofile();
    void slot_Captoclip();
    void slot_ZoomIn();
    void slot_ZoomOut();
    void slot_ZoomAll();
    void slot_HideScale();

protected:
    void paintEvent(QPaintEvent *pEvent) override;
    void mousePressEvent(QMouseEvent *pEvent) override;
    void mouseMoveEvent(QMouseEvent *pEvent) override;
    void mouseReleaseEvent(QMouseEvent *pEvent) override;
    void wheelEvent(QWheelEvent *pEvent) override;
    void keyReleaseEvent(QKeyEvent *pEvent) override;

private:
    enum DragKind { NoDrag, Resize, Move };

    void finish(int iCode);
    void zoomBy(double delta);
    void clampPan();
    void placePanel();
    void dragFrame(const QPoint &p);
    void resizeByKeys(const QPoint &change);
    void setHoverCursor(const QPoint &p);
    QRect gripRect() const;
    QRectF enlargedTarget() const;
    QRectF toImage(const QRectF &dialogRect) const;
    void paintFrameMode(QPainter &painter) const;
    void paintFrameBorder(QPainter &painter) const;
    void paintFactorLabel(QPainter &painter) const;

    bool dragging = false;
    QPoint lastPoint;
    QPointF pan;
    QPixmap grip;
    DragKind dragKind = NoDrag;
    QSize pressSize;
    int labelCount = 0;
    QRect frameRect;
    ZoomOptionWidget *panel;
    QPixmap *screenImage;
    ZoomMemory *memory;
    QPixmap output;
    SettledAnnouncement *announcement;
};
