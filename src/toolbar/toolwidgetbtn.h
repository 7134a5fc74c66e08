#pragma once

#include <QImage>
#include <QPoint>
#include <QWidget>

class QPainter;

// A toolbar button. It does not act by itself: a click emits the press kind,
// which the main window's slot interprets.
//   1 left half, 2 right half;
//   3 / 4 the popup strip of a popup button on its left / right edge; the
//   strip faces the screen centre, so it is 3 on a toolbar in the right half
//   of the screen and 4 in the left half.
// A press that moves by 3 drag distances is given up, and the rest of the
// gesture goes to the toolbar, which then drags the window.
// By keyboard (Tab reaches it, a click never focuses it): Space and Return
// press the left half, the menu key and Shift+F10 the popup strip.
class ToolWidgetBtn : public QWidget
{
    Q_OBJECT
public:
    // Type 0 is a square button; the wide types are 1 plain, 2 with a popup
    // strip beside the main face, 3 a popup button as a whole.
    ToolWidgetBtn(int iType, const QString &strIcon, QWidget *pParent);

    int type() const { return buttonType; }
    // Takes the size the toolbar size step calls for.
    virtual void applySize();
    // The current-tool mark (also the on state of a toggle button).
    void setCurrentMark(bool bMarked);
    bool hasCurrentMark() const { return marked; }
    int pressKind() const { return kind; }
    // The kind a press on the popup strip has, 0 for a button without one.
    virtual int popupKind() const;

Q_SIGNALS:
    void signals_Clicked(qint8 iPress);

protected:
    void mousePressEvent(QMouseEvent *pEvent) override;
    void mouseMoveEvent(QMouseEvent *pEvent) override;
    void mouseReleaseEvent(QMouseEvent *pEvent) override;
    void changeEvent(QEvent *pEvent) override;
    void keyPressEvent(QKeyEvent *pEvent) override;
    void focusInEvent(QFocusEvent *pEvent) override;
    void focusOutEvent(QFocusEvent *pEvent) override;
    void paintEvent(QPaintEvent *pEvent) override;

    // The background for the up, held, marked and disabled states, in the
    // look in use.
    void paintFace(QPainter &painter) const;
    // The colour of icons and marks in the high-contrast look: inverted on
    // a marked or held face.
    QColor contrastInk(bool bInverted) const;
    // Whether a move from pressAt to pos is far enough to give up a press.
    static bool isDragAway(const QPoint &pressAt, const QPoint &pos);
    void clearPress();
    // The focus ring, while the keyboard is on this button in keyboard mode.
    void paintFocus(QPainter &painter) const;

private:
    int kindAt(const QPoint &pos) const;
    bool hasPopupStrip() const { return buttonType >= 2; }
    QRect popupStrip() const;
    QRect heldRect() const;
    // Whether part of the face is shown inverted: marked, or held down.
    bool isInverted(const QRect &part) const;
    bool usesHighRes() const;
    void paintContrastFace(QPainter &painter) const;
    void paintPopupMarker(QPainter &painter, bool bContrast) const;
    void paintIcon(QPainter &painter, bool bContrast) const;
    static const QImage &popupArrow(bool bFacesRight, bool bHighRes);

    const int buttonType;
    bool marked = false;
    int kind = 0;
    bool pressed = false;
    QPoint pressPoint;
    const QString iconPath;
    QImage icon;
};
