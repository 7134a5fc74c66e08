#pragma once

#include "captureloupe.h"
#include "widgets/fullscreendialog.h"

class CloseBtn;
class SettledAnnouncement;

// Measures an angle on a still picture of the screen: two arms meet at a
// vertex, and the angle turning clockwise on the screen from the first arm to
// the second is written beside the vertex. The vertex and both arm ends can
// be dragged; the loupe shows the pixels under the dragged point. By keys,
// Tab chooses the whole protractor or one of its points, the arrows move it
// and Ctrl with the arrows lengthens or shortens both arms.
class ProtractorDlg : public FullScreenDialog
{
    Q_OBJECT
public:
    enum Handle { Vertex = 0, FirstEnd = 1, SecondEnd = 2, NoHandle = 3 };

    // pScreenImage stays owned by the caller and must outlive the dialog.
    ProtractorDlg(QPixmap *pScreenImage, QWidget *pParent);

    // Degrees clockwise from the first arm to the second, in (0, 360]: arms
    // lying on each other give 360.
    static float angle(const QPoint &vertex, const QPoint &first, const QPoint &second);
    static QString angleText(float fAngle);

    QPoint point(int iHandle) const;
    int currentHandle() const { return current; }
    QRect loupeRect() const { return loupe.rect(); }
    // Which handle lies under p; NoHandle when none does.
    int hitTest(const QPoint &p) const;
    // The angle as a reader speaks it once it stops changing.
    QString spokenAngle() const;

protected:
    void paintEvent(QPaintEvent *pEvent) override;
    void mousePressEvent(QMouseEvent *pEvent) override;
    void mouseMoveEvent(QMouseEvent *pEvent) override;
    void mouseReleaseEvent(QMouseEvent *pEvent) override;
    bool event(QEvent *pEvent) override;
    void keyPressEvent(QKeyEvent *pEvent) override;

private:
    static QRect vertexSquare(const QPoint &p);
    static QRect armSquare(const QPoint &p);
    void moveCurrent(const QPoint &p);
    QPoint longerArm(const QPoint &end, int change) const;
    void placeCloseButton();
    void paintCross(QPainter &painter) const;
    void paintArcs(QPainter &painter, float fAngle) const;
    void paintHandles(QPainter &painter) const;
    void paintAngleText(QPainter &painter, float fAngle) const;
    void paintLoupe(QPainter &painter, const QPoint &p) const;

    QPoint vertex;
    QPoint firstEnd;
    QPoint secondEnd;
    int current = NoHandle;
    CaptureLoupe loupe;
    QPixmap *screenImage;
    CloseBtn *closeBtn;
    SettledAnnouncement *announcement;
};
