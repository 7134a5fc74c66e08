#pragma once

#include "benchpage.h"

#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QTransform>

#include <vector>

// The least a pen move draws: the curved piece from the last midpoint,
// painted raw into `image` through `transform`. Median microseconds a piece.
inline double rawPenPiecesUs(const std::vector<QPointF> &points, const QPen &pen, QImage &image,
                             const QTransform &transform = QTransform())
{
    std::vector<double> times;
    QPointF previous = points.front(), lastMid = previous;
    for (size_t i = 1; i < points.size(); ++i) {
        const QPointF mid = (previous + points[i]) / 2;
        QElapsedTimer timer;
        timer.start();
        {
            QPainter painter(&image);
            painter.setTransform(transform, true); // on top of the image's ratio
            painter.setRenderHint(QPainter::Antialiasing, true);
            painter.setPen(pen);
            QPainterPath piece(lastMid);
            piece.quadTo(previous, mid);
            painter.drawPath(piece);
        }
        times.push_back(timer.nsecsElapsed() / 1e3);
        previous = points[i];
        lastMid = mid;
    }
    return median(times);
}
