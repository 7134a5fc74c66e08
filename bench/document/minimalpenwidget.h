#pragma once

#include <QImage>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWidget>

// The least a pen program does, the baseline of the pen benchmarks: each move
// with the button held paints a piece into an image and repaints the piece's
// rectangle from it.
class MinimalPenWidget : public QWidget
{
public:
    MinimalPenWidget(const QSize &devicePixels, qreal ratio, const QPen &pen,
                     QWidget *parent = nullptr)
        : QWidget(parent)
        , image(devicePixels, QImage::Format_ARGB32_Premultiplied)
        , pen(pen)
    {
        image.setDevicePixelRatio(ratio);
        image.fill(Qt::white);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    int moves = 0; // of the stroke under way

    void mousePressEvent(QMouseEvent *event) override
    {
        previous = lastMid = event->position();
        moves = 0;
    }
    void mouseMoveEvent(QMouseEvent *event) override
    {
        if (!(event->buttons() & Qt::LeftButton))
            return;
        const QPointF pt = event->position(), mid = (previous + pt) / 2;
        QPainterPath piece(lastMid);
        piece.quadTo(previous, mid);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setPen(pen);
        painter.drawPath(piece);
        const int margin = int(pen.widthF() / 2) + 2;
        update(piece.controlPointRect().toAlignedRect().adjusted(-margin, -margin, margin, margin));
        previous = pt;
        lastMid = mid;
        ++moves;
    }
    void paintEvent(QPaintEvent *event) override
    {
        // The source rectangle counts the image's own (device) pixels.
        const qreal ratio = image.devicePixelRatio();
        const QRectF source(QPointF(event->rect().topLeft()) * ratio,
                            QSizeF(event->rect().size()) * ratio);
        QPainter painter(this);
        painter.drawImage(event->rect(), image, source);
    }

private:
    QImage image;
    QPen pen;
    QPointF previous, lastMid;
};
