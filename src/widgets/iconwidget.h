#pragma once

#include <QPixmap>
#include <QWidget>

// A square picture of the resources drawn at a given side, from its "@2x"
// twin whenever the screen needs more pixels than the plain one has.
class IconWidget : public QWidget
{
    Q_OBJECT
public:
    IconWidget(const QString &strPath, int iSide, QWidget *pParent = nullptr);

    QSize sizeHint() const override { return QSize(side, side); }

protected:
    void paintEvent(QPaintEvent *pEvent) override;

private:
    QString path;
    int side;
};
