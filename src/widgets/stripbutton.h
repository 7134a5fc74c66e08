#pragma once

#include <QPixmap>
#include <QToolButton>

// A small square tool button painted from a two-state strip picture: the left
// half while up, the right half while held down.
class StripButton : public QToolButton
{
    Q_OBJECT
public:
    StripButton(const QString &strPicture, int iBaseSide, QWidget *pParent);
    // Shows the button at iSide logical pixels, from the "@2x" picture
    // when the side on screen is larger than the base side.
    void setSide(int iSide);

protected:
    void paintEvent(QPaintEvent *pEvent) override;

private:
    const QString picture;
    const int baseSide;
    QPixmap strip;
};
