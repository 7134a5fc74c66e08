#pragma once

#include <QDial>
#include <QPixmap>

// The width dial of the current tool, painted from pictures: a plate with
// notches, a knob and a value pointer turned over the dial's 300 degrees.
// An empty range (a tool without a width) shows the dial faded. The
// high-contrast look draws it as outlines instead.
// Every user change, be it a drag, a click, a wheel turn or a key, is announced
// through sliderMoved; programmatic changes are not.
class DialWidget : public QDial
{
    Q_OBJECT
public:
    explicit DialWidget(QWidget *pParent);
    // Takes the size the toolbar size step calls for.
    void applySize();

protected:
    void paintEvent(QPaintEvent *pEvent) override;
    void mousePressEvent(QMouseEvent *pEvent) override;
    void mouseReleaseEvent(QMouseEvent *pEvent) override;
    void wheelEvent(QWheelEvent *pEvent) override;
    void keyPressEvent(QKeyEvent *pEvent) override;
    void focusInEvent(QFocusEvent *pEvent) override;
    void focusOutEvent(QFocusEvent *pEvent) override;

private:
    void announceChange(int before);
    // The pointer's angle in degrees clockwise from 12 o'clock.
    double pointerAngle() const;
    // Outlines in ink on the face, without the plate's shades.
    void paintContrast(QPainter &painter, bool bHasRange);

    QPixmap background;
    QPixmap face;
    QPixmap pointer;
};
