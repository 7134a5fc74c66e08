#include "pixels.h"

#include "app/appstate.h"
#include "document/imagestatic.h"
#include "document/mainpage.h"
#include "document/objeraser.h"
#include "document/objstroke.h"

#include <QTemporaryDir>
#include <QtTest>

// Strokes, highlighter, brush and eraser as they land in the layer.
class TestObjStroke : public QObject
{
    Q_OBJECT

    // A long smoothed stroke built the way the pen tool builds one.
    static ObjStroke *wave(int kind, int width, const QColor &colour)
    {
        QPointF last(10, 150);
        auto *s = Pixels::line(last, last + QPointF(0.05, 0.05), width, colour, kind);
        for (int i = 1; i < 120; ++i) {
            const QPointF pt(10 + i * 2.4, 150 + 110 * std::sin(i / 7.0));
            s->path.quadTo(last, (last + pt) / 2);
            s->pressures.append(0.3f + 0.7f * float(i % 10) / 10);
            last = pt;
        }
        return s;
    }

    // A brush stroke as the pen builds one: the press, its dot, then a
    // midpoint and a pressure for every move.
    static ObjStroke *brushWave(int width)
    {
        QPointF last(20, 150);
        auto *s
            = Pixels::line(last, last + QPointF(0.05, 0.05), width, Qt::darkBlue, ObjStroke::Brush);
        for (int i = 1; i < 80; ++i) {
            const QPointF pt(20 + i * 3.3, 150 + 90 * std::sin(i / 9.0) + 6 * std::sin(i / 2.0));
            s->path.lineTo((last + pt) / 2);
            s->pressures.append(0.5f + 0.5f * float(std::sin(i / 6.0)));
            last = pt;
        }
        return s;
    }

    // How the brush used to draw: a dot of the interpolated width at every
    // pixel of travel, each with a faint two-pixel outline.
    static QImage stampedDots(const ObjStroke &s)
    {
        QImage img = Pixels::blank();
        QPainter p(&img);
        const QColor c = s.colour;
        p.setPen(QPen(QColor(c.red(), c.green(), c.blue(), 50), 2.0, Qt::SolidLine, Qt::FlatCap,
                      Qt::MiterJoin));
        p.setBrush(c);
        QPointF prev = s.path.elementAt(0);
        float last = -1;
        for (int i = ObjStroke::BrushFirstElement; i < s.path.elementCount(); ++i) {
            const QPointF pos = s.path.elementAt(i);
            const float w = s.pressures.at(i - ObjStroke::BrushFirstElement) * s.width + 1.0f;
            const QPointF d = pos - prev;
            const float length = last < 0 ? 0 : float(std::hypot(d.x(), d.y()));
            for (float t = 0; t <= length;) {
                const float f = t == 0 ? 0 : t / length, dia = last < 0 ? w : last + (w - last) * f;
                p.drawEllipse(prev + d * f, dia / 2, dia / 2);
                t += dia <= 16 ? 1.0f : std::sqrt((dia - 16) * (dia - 16) * 0.1f + 1);
            }
            last = w;
            prev = pos;
        }
        return img;
    }

private slots:
    void init() { AppState::reset(); }

    void penStrokeCoversItsPath()
    {
        std::unique_ptr<ObjStroke> s(Pixels::line(QPointF(20, 50), QPointF(180, 50), 10));
        const QRect ink = Pixels::ink(Pixels::paint(*s), 64);
        QVERIFY2(qAbs(ink.left() - 15) <= 1 && qAbs(ink.right() - 185) <= 1,
                 qPrintable(QString::number(ink.right())));
        QVERIFY(qAbs(ink.top() - 45) <= 1 && qAbs(ink.bottom() - 55) <= 1);
        QVERIFY(s->paintRect().contains(Pixels::ink(Pixels::paint(*s))));

        ObjStroke dotless;
        dotless.path.moveTo(50, 50);
        QVERIFY(Pixels::ink(Pixels::paint(dotless)).isNull());
    }

    void highlighterNibIsAQuarterWideAtFortyPercent()
    {
        std::unique_ptr<ObjStroke> down(Pixels::line(QPointF(100, 60), QPointF(100, 160), 40,
                                                     Qt::black, ObjStroke::Highlighter));
        QImage img = Pixels::paint(*down);
        QRect ink = Pixels::ink(img, 64);
        QVERIFY2(qAbs(ink.width() - 10) <= 1, qPrintable(QString::number(ink.width())));
        QVERIFY2(qAbs(ink.height() - 140) <= 1, qPrintable(QString::number(ink.height())));
        QVERIFY(qAbs(Pixels::alphaAt(img, 100, 110) - 102) <= 2);

        std::unique_ptr<ObjStroke> across(Pixels::line(QPointF(60, 100), QPointF(160, 100), 40,
                                                       Qt::black, ObjStroke::Highlighter));
        ink = Pixels::ink(Pixels::paint(*across), 64);
        QVERIFY(qAbs(ink.width() - 110) <= 1 && qAbs(ink.height() - 40) <= 1);

        // An empty highlighter leaves the painter's opacity as it found it.
        ObjStroke empty;
        empty.strokeKind = ObjStroke::Highlighter;
        QImage untouched = Pixels::blank();
        QPainter p(&untouched);
        empty.paint(&p);
        QCOMPARE(p.opacity(), 1.0);
    }

    void brushDotsFollowPressure()
    {
        // Built as the pen builds it: the press point, its dot, then one
        // element per pressure sample.
        std::unique_ptr<ObjStroke> s(
            Pixels::line(QPointF(20, 50), QPointF(20.05, 50.05), 20, Qt::red, ObjStroke::Brush));
        s->path.lineTo(60, 50);
        s->pressures = { 1.0f };
        QRect ink = Pixels::ink(Pixels::paint(*s));
        QVERIFY2(qAbs(ink.center().x() - 60) <= 1 && qAbs(ink.width() - 21) <= 2,
                 qPrintable(QString("%1 %2").arg(ink.center().x()).arg(ink.width())));

        s->pressures = { 0.0f };
        ink = Pixels::ink(Pixels::paint(*s));
        QVERIFY(ink.width() <= 3 && ink.height() <= 3);

        // Elements without a pressure are not drawn; drawn segments taper
        // from one sample's width to the next.
        s->path.lineTo(100, 50);
        s->path.lineTo(140, 50);
        s->pressures = { 1.0f };
        ink = Pixels::ink(Pixels::paint(*s));
        QVERIFY(ink.right() <= 71);
        s->pressures = { 1.0f, 0.5f, 0.0f };
        const QImage img = Pixels::paint(*s);
        ink = Pixels::ink(img);
        QVERIFY(qAbs(ink.right() - 141) <= 1);
        const auto columnHeight = [&img](int x) {
            int n = 0;
            for (int y = 0; y < img.height(); ++y)
                n += qAlpha(img.pixel(x, y)) > 0;
            return n;
        };
        QVERIFY(columnHeight(70) > columnHeight(110));
        QVERIFY(columnHeight(110) > columnHeight(135));
    }

    void brushLooksAsItsDotsDid()
    {
        for (int width : { 6, 12, 40 }) {
            std::unique_ptr<ObjStroke> s(brushWave(width));
            const QImage now = Pixels::paint(*s), before = stampedDots(*s);
            qint64 inkNow = 0, inkBefore = 0, inked = 0, far = 0;
            for (int y = 0; y < now.height(); ++y) {
                for (int x = 0; x < now.width(); ++x) {
                    const int a = qAlpha(now.pixel(x, y)), b = qAlpha(before.pixel(x, y));
                    inkNow += a;
                    inkBefore += b;
                    inked += a > 0 || b > 0;
                    far += qAbs(a - b) > 96;
                }
            }
            qInfo("width %d: ink %.4f of before, %.4f of inked pixels far off", width,
                  double(inkNow) / inkBefore, double(far) / inked);
            QVERIFY(qAbs(double(inkNow) / inkBefore - 1) < 0.04);
            QVERIFY(double(far) / inked < 0.035);
        }
    }

    void paintRectGrowsByHalfTheWidth()
    {
        std::unique_ptr<ObjStroke> s(Pixels::line(QPointF(10, 10), QPointF(110, 60), 5));
        QCOMPARE(s->paintRect(), QRect(QPoint(6, 6), QPoint(113, 63)));

        ObjEraser eraser;
        eraser.width = 20;
        eraser.appendSegment(QPointF(40, 30), QPointF(10, 80));
        QCOMPARE(eraser.paintRect(), QRect(-2, 18, 54, 74));
    }

    void eraserClearsOnlyEarlierLayerPixels()
    {
        QTemporaryDir dir;
        MainPage page(QSize(300, 300), false);
        page.colour = Qt::white;
        auto *image = new ImageStatic(QRectF(100, 100, 0, 0));
        image->load(Pixels::savePicture(dir.filePath("green.png"), QSize(100, 100), Qt::green));
        auto *before = Pixels::line(QPointF(20, 150), QPointF(280, 150), 12, Qt::blue);
        auto *eraser = new ObjEraser;
        eraser->width = 30;
        eraser->appendSegment(QPointF(150, 20), QPointF(150, 280));
        auto *after = Pixels::line(QPointF(20, 200), QPointF(280, 200), 12, Qt::red);
        page.appendObjects({ image, before, eraser, after }, false);

        QImage layer = Pixels::blank();
        page.renderLayer(&layer, QRect());
        QCOMPARE(Pixels::alphaAt(layer, 150, 150), 0);
        QCOMPARE(layer.pixelColor(60, 150), QColor(Qt::blue));
        QCOMPARE(layer.pixelColor(150, 200), QColor(Qt::red));

        // The page as shown: background, floating pass, then the layer.
        QImage shown(300, 300, QImage::Format_RGB32);
        shown.fill(page.colour);
        QPainter p(&shown);
        page.paint(&p, true, QRect());
        p.drawImage(0, 0, layer);
        p.end();
        QCOMPARE(shown.pixelColor(150, 150), QColor(Qt::green));
        QCOMPARE(shown.pixelColor(150, 110), QColor(Qt::green));
        QCOMPARE(shown.pixelColor(150, 250), QColor(Qt::white));
    }

    void clippedPaintMatchesFullPaint_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("pen") << int(ObjStroke::Pen) << QColor(Qt::darkBlue);
        QTest::newRow("translucent pen") << int(ObjStroke::Pen) << QColor(255, 0, 0, 120);
        QTest::newRow("highlighter") << int(ObjStroke::Highlighter) << QColor(Qt::yellow);
        QTest::newRow("brush") << int(ObjStroke::Brush) << QColor(Qt::black);
        QTest::newRow("eraser") << 0 << QColor();
    }

    void clippedPaintMatchesFullPaint()
    {
        QFETCH(int, kind);
        QFETCH(QColor, colour);
        MainPage page(QSize(300, 300), false);
        QList<Obj *> objects;
        objects.append(wave(ObjStroke::Pen, 9, Qt::gray));
        // Long straight pieces whose thick outline reaches rectangles their
        // own bounds miss.
        objects.append(Pixels::line(QPointF(10, 60), QPointF(290, 60), 24, Qt::green));
        objects.append(Pixels::line(QPointF(240, 10), QPointF(240, 290), 30, Qt::darkCyan,
                                    kind ? kind : int(ObjStroke::Pen)));
        static_cast<ObjStroke *>(objects.last())->pressures = { 1.0f, 1.0f };
        if (kind) {
            objects.append(wave(kind, 14, colour));
        } else {
            auto *eraser = new ObjEraser;
            eraser->width = 16;
            for (int x = 10; x < 290; x += 7)
                eraser->appendSegment(QPointF(x, 150 + 100 * std::sin(x / 17.0)),
                                      QPointF(x + 7, 150 + 100 * std::sin((x + 7) / 17.0)));
            objects.append(eraser);
        }
        page.appendObjects(objects, false);

        QImage full = Pixels::blank();
        page.renderLayer(&full, QRect());
        for (const QRect &dirty :
             { QRect(120, 40, 40, 40), QRect(0, 130, 30, 50), QRect(200, 200, 90, 90),
               QRect(140, 145, 3, 3), QRect(120, 66, 30, 20), QRect(245, 100, 20, 20) }) {
            QImage partial = Pixels::blank();
            partial.fill(Qt::magenta); // must be cleared inside the rectangle
            page.renderLayer(&partial, dirty);
            QCOMPARE(Pixels::differences(full, partial, dirty, 1), 0);
        }
    }
};

QTEST_MAIN(TestObjStroke)
#include "test_objstroke.moc"
