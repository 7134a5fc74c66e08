// Re-rendering a 200 x 200 dirty rectangle of a full-HD page holding 1000
// strokes of 35 points (ten of 500), about 100 of them crossing it, beside a
// full layer rebuild and beside stroking the crossing paths whole under the
// clip.
#include "benchtimer.h"

#include "document/mainpage.h"
#include "document/objstroke.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>

#include <cstdio>

static ObjStroke *walk(QRandomGenerator &rng, QPointF at, const QPointF &drift, int points)
{
    auto *s = new ObjStroke;
    s->width = rng.bounded(2, 9);
    s->colour = QColor::fromRgb(rng.generate() | 0xff000000u);
    s->path.moveTo(at);
    s->path.lineTo(at + QPointF(0.05, 0.05));
    QPointF last = at;
    for (int i = 0; i < points; ++i) {
        const QPointF pt = last + drift + QPointF(rng.bounded(9.0) - 4.5, rng.bounded(9.0) - 4.5);
        s->path.quadTo(last, (last + pt) / 2);
        last = pt;
    }
    return s;
}

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    QRandomGenerator rng(7);
    const QRect dirty(860, 440, 200, 200);
    MainPage page(QSize(1920, 1080), false);
    QList<Obj *> strokes;
    // A few long strokes sweep across the page through the rectangle ...
    for (int i = 0; i < 10; ++i)
        strokes.append(walk(rng, QPointF(40, 460 + i * 16), QPointF(3.6, 0), 500));
    // ... some short ones start inside it ...
    for (int i = 0; i < 50; ++i)
        strokes.append(walk(rng, QPointF(860 + rng.bounded(200), 440 + rng.bounded(200)),
                            QPointF(rng.bounded(6.0) - 3, rng.bounded(6.0) - 3), 35));
    // ... and the rest lie anywhere.
    while (strokes.size() < 1000)
        strokes.append(walk(rng, QPointF(rng.bounded(1920), rng.bounded(1080)),
                            QPointF(rng.bounded(6.0) - 3, rng.bounded(6.0) - 3), 35));
    page.appendObjects(strokes, false);
    int crossing = 0;
    for (Obj *obj : page.objects)
        crossing += obj->paintRect().intersects(dirty);

    QImage layer(page.size, QImage::Format_ARGB32_Premultiplied);
    const double full = medianMs(7, [&] { page.renderLayer(&layer, QRect()); });
    const double partial = medianMs(31, [&] { page.renderLayer(&layer, dirty); });
    const double whole = medianMs(31, [&] {
        QPainter p(&layer);
        p.setClipRect(dirty);
        p.setRenderHint(QPainter::Antialiasing, true);
        for (Obj *obj : page.objects) {
            auto *s = static_cast<ObjStroke *>(obj);
            if (!s->paintRect().intersects(dirty))
                continue;
            p.setPen(QPen(s->colour, s->width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.drawPath(s->path);
        }
    });
    std::printf("1000 strokes on 1920 x 1080, %d crossing the 200 x 200 dirty rectangle\n",
                crossing);
    std::printf("dirty rectangle re-render      %8.3f ms (median of 31)  budget 16 ms\n", partial);
    std::printf("full layer rebuild             %8.3f ms (median of 7)   ratio %.1f\n", full,
                full / partial);
    std::printf("whole paths under the clip     %8.3f ms (median of 31)  ratio %.1f\n", whole,
                whole / partial);
    return partial < 16 ? 0 : 1;
}
