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

protected:
    void paintEvent(QPaintEvent *pEvent) override;

private:
    QPixmap strip;
};
