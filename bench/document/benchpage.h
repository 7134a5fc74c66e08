#pragma once

#include <QByteArray>
#include <QGuiApplication>
#include <QLineF>
#include <QPointF>
#include <QScreen>
#include <QSize>

#include <algorithm>
#include <cmath>
#include <vector>

// The page a canvas benchmark works on: its logical size from TAV_BENCH_PAGE
// ("WxH", full HD when unset) and the screen's device pixel ratio (set with
// QT_SCALE_FACTOR), so that a scaled desktop is measured by the same code.
struct BenchPage
{
    QSize logical;
    qreal ratio = 1;
    QSize device;

    static BenchPage fromEnvironment()
    {
        BenchPage page;
        const QByteArray asked = qgetenv("TAV_BENCH_PAGE");
        const QList<QByteArray> parts = asked.split('x');
        page.logical
            = parts.size() == 2 ? QSize(parts[0].toInt(), parts[1].toInt()) : QSize(1920, 1080);
        if (page.logical.isEmpty())
            page.logical = QSize(1920, 1080);
        page.ratio = QGuiApplication::primaryScreen()->devicePixelRatio();
        page.device = QSize(int(std::lround(page.logical.width() * page.ratio)),
                            int(std::lround(page.logical.height() * page.ratio)));
        return page;
    }

    // A figure of eight across the page in steps of 8 px: `moves` pointer
    // moves, each far enough from the last to add a pen piece.
    std::vector<QPointF> figureOfEight(int moves) const
    {
        const double w = logical.width() / 2.0, h = logical.height() / 2.0;
        auto at = [&](double t) {
            return QPointF(w + w * 0.83 * std::sin(t), h + h * 0.74 * std::sin(2 * t));
        };
        std::vector<QPointF> points { at(0) };
        double t = 0;
        while (int(points.size()) <= moves) {
            t += 0.0005;
            if (QLineF(points.back(), at(t)).length() >= 8)
                points.push_back(at(t));
        }
        return points;
    }
};

// The middle value (the upper one of an even count).
inline double median(std::vector<double> v)
{
    std::nth_element(v.begin(), v.begin() + v.size() / 2, v.end());
    return v[v.size() / 2];
}
