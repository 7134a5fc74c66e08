#pragma once

#include <QByteArray>
#include <QGuiApplication>
#include <QScreen>
#include <QSize>

#include <cmath>

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
};
