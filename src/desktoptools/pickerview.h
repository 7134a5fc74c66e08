#pragma once

#include <QPoint>
#include <QWidget>

class QImage;

// The picker panel's view of the 25 x 25 pixels around the sampled one,
// enlarged nine times, with the sampled pixel under a centre cross.
class PickerView : public QWidget
{
    Q_OBJECT
public:
    static constexpr int Side = 225;

    // pStill: the screen picture, owned by the dialog and outliving the view.
    PickerView(const QImage *pStill, QWidget *pParent);

    // Centres the view on a pixel of the screen picture.
    void setCentre(const QPoint &pixel);

protected:
    void paintEvent(QPaintEvent *pEvent) override;

private:
    const QImage *still;
    QPoint centre;
};
