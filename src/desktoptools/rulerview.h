#pragma once

#include <QPixmap>
#include <QPoint>
#include <QTimer>
#include <QWidget>

// The ruler's 225 x 225 inset: the screen pixels under the ruler's marker,
// nine times enlarged, with their coordinates. A top-level window over the
// current screen, or a child of the main window when the ruler runs inside
// it. It keeps out of the pointer's way by switching between two corners.
class RulerView : public QWidget
{
    Q_OBJECT
public:
    static constexpr int Side = 225;
    // Which end of the ruler holds the marker back, if any.
    enum Out { Inside = 0, OutHorizontal = 1, OutVertical = 2 };

    // pParent null: a top-level window over the current screen.
    explicit RulerView(QWidget *pParent);

    // Grabs the screen under the pointer (once the desktop hands it over,
    // where it must be asked for), shows the view and keeps the picture
    // fresh until stop().
    void start();
    void stop();
    // markerPoint and pointerPoint are global.
    void place(const QPoint &markerPoint, const QPoint &pointerPoint, int iOut);

    QPoint markerPoint() const { return marker; }
    int outFlag() const { return out; }
    // The text of the bottom strip and whether it warns (red).
    QString caption() const;

public Q_SLOTS:
    void slot_GetScreenPixmap();

protected:
    void paintEvent(QPaintEvent *pEvent) override;

private:
    // The area the view keeps to, in its parent's coordinates (global for a
    // top-level view).
    QRect area() const;
    QPoint topLeftSpot() const;
    QPoint bottomRightSpot() const;
    void paintEnlarged(QPainter &painter) const;

    QPoint marker;
    QPoint pointer;
    bool atBottomRight = false;
    int out = Inside;
    // Translated once: the caption is painted at every marker move.
    const QString outOfX;
    const QString outOfY;
    QPixmap screenPicture;
    QTimer refreshTimer;
    // A picture asked of the desktop is on its way.
    QMetaObject::Connection waiting;
};
