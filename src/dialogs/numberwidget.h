#pragma once

#include <QPixmap>
#include <QWidget>

// The preview of a number stamp, centred in the widget.
class NumberWidget : public QWidget
{
    Q_OBJECT
public:
    explicit NumberWidget(QWidget *pParent = nullptr);

    void setPixmap(const QPixmap &pixmap);
    QPixmap pixmap() const { return picture; }

protected:
    void paintEvent(QPaintEvent *pEvent) override;

private:
    QPixmap picture;
};
