#pragma once

#include <QPainterPath>
#include <QPointer>
#include <QPolygon>
#include <QWidget>

#include <functional>

class CloseBtn;
class MinBtn;
class PanelHost;
class QGridLayout;
class QPainter;
struct FloatingPlace;

// The frame of every option and command panel, in one of two forms. A
// transient popup is a window of its own whose outline carries a pointer
// towards its anchor (the toolbar button it belongs to); a press outside the
// outline closes it. The floating form is a movable panel with a title strip,
// a close and a fold button; it stays where the user drops it, kept inside
// its parent (or its screen when it has none).
// Both delete themselves when closed and show themselves 100 ms after being
// built, so that subclasses can fill grid() first.
class PopupWidget : public QWidget
{
    Q_OBJECT
public:
    // pPlace (floating form only) holds the remembered position and folded
    // flag; it must outlive the panel.
    PopupWidget(bool bIsPopup, QWidget *pAnchor, QWidget *pParent, FloatingPlace *pPlace = nullptr);

    bool isPopup() const { return bIsPopup; }
    QString title() const { return strTitle; }
    void setTitle(const QString &strNewTitle);
    // The area the panel occupies, in its own coordinates.
    QPainterPath outline() const { return path; }
    QGridLayout *grid() const { return layout; }
    // Takes the size hint as the fixed size (only the title strip when
    // folded) and moves beside the anchor.
    void placePanel();
    // Gives the keyboard to the first entry, with its focus ring.
    void focusFirstEntry();

    // The transient panel that pChild belongs to, or null.
    static PopupWidget *transientOf(QWidget *pChild);
    // Closes the panel, then runs a command chosen on it; the panel is
    // deleted only once the command is back, since the command may open a
    // modal dialog while the chosen button is still handling its click.
    void closeAndRun(const std::function<void(PanelHost *)> &command);

public Q_SLOTS:
    void slot_Show();
    // The user's close: the floating form also switches itself off.
    void slot_Close();
    void slot_Minimize();

Q_SIGNALS:
    // The floating form was closed by the user, so its switch is now off.
    void signal_FloatingClosed();

protected:
    void paintEvent(QPaintEvent *pEvent) override;
    void mousePressEvent(QMouseEvent *pEvent) override;
    void mouseMoveEvent(QMouseEvent *pEvent) override;
    void mouseReleaseEvent(QMouseEvent *pEvent) override;
    void closeEvent(QCloseEvent *pEvent) override;
    // Arrows walk the entries; Escape closes a transient popup and gives the
    // keyboard back to its toolbar button; on the floating form Escape or F6
    // gives it back to the toolbar without closing.
    void keyPressEvent(QKeyEvent *pEvent) override;

private:
    void setUpTransient();
    void setUpFloating();
    // The high-contrast look: face and ink, 2 px outlines.
    void paintContrast(QPainter &painter);
    void applySize();
    void placeTransient();
    void placeFloating();
    void keepInsideArea();
    bool folded() const;
    int titleHeight() const;
    QRect anchorRect() const;
    QRect allowedArea() const;
    QPoint toMoveCoordinates(const QPoint &global) const;

    int dragState = 0; // 0 idle, 1 pressed, 2 dragging
    QPoint pressOffset;
    QPoint pressPoint;
    const bool bIsPopup;
    // Opened from the keyboard: the first entry gets the keyboard.
    const bool byKeys;
    bool closed = false;
    QString strTitle;
    CloseBtn *closeBtn = nullptr;
    MinBtn *minBtn = nullptr;
    QPainterPath path;
    QPolygon edge; // the transient form's border
    QPointer<QWidget> anchor;
    QGridLayout *layout;
    FloatingPlace *place;
};
