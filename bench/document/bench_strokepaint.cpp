// Painting one finished stroke of 500 points into a full-HD layer, beside
// the raw cost of stroking the same path with the same pen.
#include "benchtimer.h"

#include "document/objstroke.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cmath>
#include <cstdio>

static ObjStroke *makeStroke(int kind)
{
    auto *s = new ObjStroke;
    s->strokeKind = kind;
    s->width = kind == ObjStroke::Brush ? 12 : 5;
    s->colour = Qt::darkBlue;
    QPointF last(100, 540);
    s->path.moveTo(last);
    s->path.lineTo(last + QPointF(0.05, 0.05));
    for (int i = 1; i < 500; ++i) {
        const QPointF pt(100 + i * 3.4, 540 + 300 * std::sin(i / 40.0) + 20 * std::sin(i / 3.0));
        if (kind == ObjStroke::Brush) {
            s->path.lineTo((last + pt) / 2);
            s->pressures.append(0.5f + 0.5f * float(std::sin(i / 25.0)));
        } else {
            s->path.quadTo(last, (last + pt) / 2);
        }
        last = pt;
    }
    return s;
}

static void report(const char *name, ObjStroke *stroke, QImage &layer)
{
    const int runs = 30;
    const double object = medianMs(runs, [&] {
        QPainter p(&layer);
        stroke->paint(&p);
    });
    const double raw = medianMs(runs, [&] {
        QPainter p(&layer);
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(QPen(stroke->colour, stroke->width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(stroke->path);
    });
    std::printf("%-28s %8.3f ms   raw QPainter stroke of the path %8.3f ms   ratio %.2f\n", name,
                object, raw, object / raw);
}

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    QImage layer(1920, 1080, QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    std::unique_ptr<ObjStroke> pen(makeStroke(ObjStroke::Pen));
    std::unique_ptr<ObjStroke> brush(makeStroke(ObjStroke::Brush));
    std::printf("medians of 30 runs, 500-point strokes on a 1920 x 1080 layer\n");
    report("pen stroke", pen.get(), layer);
    report("brush stroke with pressures", brush.get(), layer);
    return 0;
}
