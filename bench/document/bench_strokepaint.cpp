// Painting one finished stroke of 500 points into a full-HD layer, as every
// layer rebuild and undo does, beside the raw cost of stroking the same path
// with a plain pen.
#include "benchrounds.h"
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

// One stroke painted as the layer paints it, beside the raw cost of
// stroking the same points with a plain round pen of its width.
static void addPair(BenchRounds &rounds, const std::string &name, ObjStroke *stroke, QImage &layer)
{
    rounds.add(name, [&layer, stroke] {
        return medianMs(5, [&] {
            QPainter p(&layer);
            stroke->paint(&p);
        });
    });
    rounds.add(name + ", raw", [&layer, stroke] {
        return medianMs(5, [&] {
            QPainter p(&layer);
            p.setRenderHint(QPainter::Antialiasing, true);
            p.setPen(
                QPen(stroke->colour, stroke->width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.drawPath(stroke->path);
        });
    });
}

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    QImage layer(1920, 1080, QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    std::unique_ptr<ObjStroke> pen(makeStroke(ObjStroke::Pen));
    std::unique_ptr<ObjStroke> brush(makeStroke(ObjStroke::Brush));
    BenchRounds rounds;
    addPair(rounds, "pen stroke", pen.get(), layer);
    addPair(rounds, "brush stroke with pressures", brush.get(), layer);
    rounds.run(9);
    std::printf("500-point strokes on a 1920 x 1080 layer, medians (spread) of 9 interleaved "
                "rounds of 5 paints\n");
    for (const char *name : { "pen stroke", "brush stroke with pressures" }) {
        rounds.print(name);
        rounds.print(std::string(name) + ", raw");
    }
    std::printf("pen stroke against a plain stroke of its path:\n");
    rounds.printRatio("pen stroke", "pen stroke, raw", 1.5);
    std::printf("brush stroke against a plain stroke of the same points:\n");
    rounds.printRatio("brush stroke with pressures", "brush stroke with pressures, raw", 2.0);
    return 0;
}
