#include "canvas/pagelabel.h"
#include "commandoutput.h"
#include "realprogram.h"
#include "testenvironment.h"
#include "x11probe.h"

#include <QPainter>
#include <QScreen>
#include <QtTest>

#include <memory>

#ifndef TAV_TEST_SCALE
#define TAV_TEST_SCALE 1
#endif

// The real program zooms a captured page with Ctrl and the wheel, as a user
// does: the desktop shows four times larger around the pointer and the label
// says so, ink drawn at the zoom is sharp and four times the pen's width on
// screen, and once zoomed back it lies on the page pixels under the pointer,
// on screen and in the exported picture. All positions are the screen's
// device pixels; the program runs at the scale the test was built for.
class TestZoomX11 : public QObject
{
    Q_OBJECT

    static constexpr int Scale = TAV_TEST_SCALE;
    static constexpr int PenWidth = 3; // the settings' default, in page pixels
    std::unique_ptr<TestEnvironment> env;

    static QImage screenNow()
    {
        return QGuiApplication::primaryScreen()->grabWindow(0).toImage().convertToFormat(
            QImage::Format_RGB32);
    }

    // Ctrl and `notches` turns of the wheel at `at`, up when positive.
    static void ctrlWheel(const QPoint &at, int notches)
    {
        RealProgram::xdotool({ QStringLiteral("mousemove"), QString::number(at.x()),
                               QString::number(at.y()), QStringLiteral("keydown"),
                               QStringLiteral("ctrl") });
        for (int i = 0; i < qAbs(notches); ++i)
            RealProgram::xdotool({ QStringLiteral("click"),
                                   notches > 0 ? QStringLiteral("4") : QStringLiteral("5") });
        RealProgram::xdotool({ QStringLiteral("keyup"), QStringLiteral("ctrl") });
    }

    // The page pixel a screen pixel's centre shows at `zoom` around `anchor`
    // (where page and screen pixels met one for one), as a pixel position.
    static QPointF zoomedSource(const QPoint &screen, const QPoint &anchor, qreal zoom)
    {
        return QPointF(anchor) + (QPointF(screen) + QPointF(0.5, 0.5) - QPointF(anchor)) / zoom
            - QPointF(0.5, 0.5);
    }

    // Near a tile's edge the numbered colours wrap; blends there tell nothing.
    static bool nearTileEdge(const QPointF &p)
    {
        auto edge = [](qreal v) {
            const qreal m = std::fmod(v, 256.0);
            return m < 2 || m > 253;
        };
        return edge(p.x()) || edge(p.y());
    }

    // The blended numbered colour at a screen pixel, read back as a position.
    static QPointF shownPosition(QRgb pixel)
    {
        const int tile = qBlue(pixel);
        const int column = tile / 16;
        const int row = tile % 16;
        return QPointF(column * 256 + qRed(pixel), row * 256 + qGreen(pixel));
    }

    // How many pixels of the label's corner are black on screen but not in
    // the label of `percent` painted over white by the program's own code,
    // or the other way round.
    static int labelMismatch(const QImage &shown, int percent)
    {
        QImage painted(shown.size(), QImage::Format_RGB32);
        painted.fill(Qt::white);
        painted.setDevicePixelRatio(Scale);
        QWidget view;
        view.resize(shown.size() / Scale);
        {
            QPainter painter(&painted);
            PageLabel().paint(painter, &view, { 1, 1, QString(), QString(), percent }, false,
                              false);
        }
        int differing = 0;
        for (int y = 0; y < 60 * Scale; ++y)
            for (int x = shown.width() - 400 * Scale; x < shown.width(); ++x)
                differing += (qGray(painted.pixel(x, y)) < 50) != (qGray(shown.pixel(x, y)) < 50);
        return differing;
    }

    static bool inked(QRgb pixel)
    {
        return qRed(pixel) <= 40 && qGreen(pixel) <= 40 && qBlue(pixel) <= 40;
    }

    static bool changed(QRgb before, QRgb after)
    {
        return qAbs(qRed(before) - qRed(after)) > 8 || qAbs(qGreen(before) - qGreen(after)) > 8
            || qAbs(qBlue(before) - qBlue(after)) > 8;
    }

    struct Band
    {
        int inkedRows = 0;
        int blendedRows = 0;
        qreal middle = -1; // of the inked rows
    };

    // The rows of column `x` between `top` and `bottom` that the ink covers
    // in `after`, wholly or blended with what `before` showed.
    static Band bandAt(const QImage &before, const QImage &after, int x, int top, int bottom)
    {
        Band band;
        int first = -1;
        int last = -1;
        for (int y = top; y <= bottom; ++y) {
            if (inked(after.pixel(x, y))) {
                ++band.inkedRows;
                first = first < 0 ? y : first;
                last = y;
            } else if (changed(before.pixel(x, y), after.pixel(x, y))) {
                ++band.blendedRows;
            }
        }
        band.middle = first < 0 ? -1 : (first + last + 1) / 2.0;
        return band;
    }

    static QString describe(const Band &band)
    {
        return QStringLiteral("%1 inked rows, %2 blended, middle %3")
            .arg(band.inkedRows)
            .arg(band.blendedRows)
            .arg(band.middle);
    }

    // The page point a screen pixel's corner shows at 400 % around `anchor`.
    static QPointF pageOf(const QPoint &screen, const QPoint &anchor)
    {
        return QPointF(anchor) + QPointF(screen - anchor) / 4;
    }

    // Whether the screen shows the page four times larger around `anchor`
    // at a few points.
    static bool showsZoom(const QPoint &anchor)
    {
        const QImage shown = screenNow();
        for (const QPoint offset : { QPoint(-301, -151), QPoint(305, 97), QPoint(-97, 203) }) {
            const QPoint at = anchor + offset * Scale;
            const QPointF source = zoomedSource(at, anchor, 4);
            const QPointF read = shownPosition(shown.pixel(at));
            if (nearTileEdge(source) || qAbs(read.x() - source.x()) > 1
                || qAbs(read.y() - source.y()) > 1)
                return false;
        }
        return true;
    }

    static int even(int v) { return v - v % 2; }

private Q_SLOTS:
    void init() { env = std::make_unique<TestEnvironment>(); }
    void cleanup() { env.reset(); }

    void wheelZoomMagnifiesAroundThePointerAndInkLandsOnThePage()
    {
        X11Probe x11;
        const QSize screen = QGuiApplication::primaryScreen()->size();
        const QImage desktop = numberedPicture(screen);
        QVERIFY(RealProgram::paintRoot(desktop, env->path(QStringLiteral("desktop.png"))));
        const QPoint penOffset = RealProgram::penButtonOffset() * Scale;

        RealProgram program(*env);
        QVERIFY(program.start(Scale == 2 ? QStringList { QStringLiteral("QT_SCALE_FACTOR=2") }
                                         : QStringList()));
        const QString toolbar = program.toolbar();
        QVERIFY2(!toolbar.isEmpty(), "the toolbar never showed");
        RealProgram::click(x11.rootGeometry(toolbar.toUInt()).topLeft() + penOffset);
        TAV_TRY_VERIFY(RealProgram::fullScreenClientShown(x11, 0), 15000);
        // The root changes under the page: what shows is the captured page.
        QImage changedRoot = desktop;
        changedRoot.invertPixels();
        QVERIFY(RealProgram::paintRoot(changedRoot, env->path(QStringLiteral("changed.png"))));
        const QRect quiet(screen.width() / 4, screen.height() / 2, 200, 200);
        TAV_TRY_VERIFY(screenNow().copy(quiet) == desktop.copy(quiet), 10000);
        // Where the toolbar and the frame lie over the page, nothing of the
        // page is read at any zoom.
        const QImage unzoomed = screenNow();
        auto overPage = [&](const QPoint &at) {
            const QRect around(at - QPoint(4, 4), QSize(9, 9));
            return unzoomed.copy(around) == desktop.copy(around);
        };
        const QRect label(screen.width() / 2, 0, screen.width() / 2, 120 * Scale);

        // Six notches in at an even device pixel: 400 % around it.
        const QPoint anchor(even(screen.width() * 11 / 20), even(screen.height() * 3 / 5));
        ctrlWheel(anchor, 6);
        TAV_TRY_VERIFY(showsZoom(anchor), 10000);
        const QImage zoomed = screenNow();
        int checked = 0;
        for (int y = 40 * Scale; y < screen.height(); y += 53 * Scale) {
            for (int x = 30 * Scale; x < screen.width(); x += 71 * Scale) {
                const QPoint at(x, y);
                const QPointF source = zoomedSource(at, anchor, 4);
                if (!overPage(at) || label.contains(at) || nearTileEdge(source))
                    continue;
                const QPointF shown = shownPosition(zoomed.pixel(at));
                QVERIFY2(qAbs(shown.x() - source.x()) <= 1 && qAbs(shown.y() - source.y()) <= 1,
                         qPrintable(QStringLiteral("at %1,%2 the page's %3,%4, not %5,%6")
                                        .arg(x)
                                        .arg(y)
                                        .arg(shown.x())
                                        .arg(shown.y())
                                        .arg(source.x())
                                        .arg(source.y())));
                ++checked;
            }
        }
        QVERIFY2(checked > 200, qPrintable(QString::number(checked)));
        // The label reads 400 %: its black pixels are those of 400 %, not of
        // another zoom of the ladder.
        const int shown400 = labelMismatch(zoomed, 400);
        for (int percent : { 100, 200, 317, 504, 800 })
            QVERIFY2(labelMismatch(zoomed, percent) > shown400 * 3 / 2 + 10,
                     qPrintable(QStringLiteral("%1 %: %2, 400 %: %3")
                                    .arg(percent)
                                    .arg(labelMismatch(zoomed, percent))
                                    .arg(shown400)));

        // A stroke at 400 %: sharp, four times the pen's width on screen.
        const QPoint from = anchor + QPoint(-360, 160) * Scale;
        const QPoint to = anchor + QPoint(-40, 160) * Scale;
        RealProgram::drag(from, to);
        const int column = (from.x() + to.x()) / 2;
        // The stroke is drawn again from the page once the button is up.
        QImage drawn;
        TAV_TRY_VERIFY(inked((drawn = screenNow()).pixel(column, from.y()))
                           && inked(drawn.pixel(to - QPoint(2, 0))),
                       10000);
        const int reach = 30 * Scale;
        const Band zoomedBand = bandAt(zoomed, drawn, column, from.y() - reach, from.y() + reach);
        QVERIFY2(qAbs(zoomedBand.inkedRows - 4 * PenWidth * Scale) <= 1
                     && zoomedBand.blendedRows <= 2 && qAbs(zoomedBand.middle - from.y()) <= 1,
                 qPrintable(describe(zoomedBand)));

        // Six notches out: one for one again, the stroke on the page pixels
        // that were under the pointer.
        ctrlWheel(anchor, -6);
        TAV_TRY_VERIFY(screenNow().copy(quiet) == desktop.copy(quiet), 10000);
        const QImage back = screenNow();
        const QPointF pageFrom = pageOf(from, anchor);
        const QPointF pageTo = pageOf(to, anchor);
        const int pageColumn = int((pageFrom.x() + pageTo.x()) / 2);
        const Band backBand = bandAt(desktop, back, pageColumn, int(pageFrom.y()) - reach,
                                     int(pageFrom.y()) + reach);
        QVERIFY2(qAbs(backBand.inkedRows - PenWidth * Scale) <= 1
                     && qAbs(backBand.middle - pageFrom.y()) <= 1,
                 qPrintable(describe(backBand)));
        QVERIFY(back.copy(QRect(from - QPoint(0, reach), QSize(1, 2 * reach)))
                == desktop.copy(QRect(from - QPoint(0, reach), QSize(1, 2 * reach))));

        // The exported picture has it at the same page pixels.
        const QString zip = env->path(QStringLiteral("pages.zip"));
        RealProgram::exportPngZip(x11, zip, Scale);
        QVERIFY(!QTest::currentTestFailed());
        const QString unpacked = env->path(QStringLiteral("unpacked"));
        commandOutput(QStringLiteral("unzip"),
                      { QStringLiteral("-q"), zip, QStringLiteral("-d"), unpacked });
        const QStringList files = QDir(unpacked).entryList(QDir::Files);
        QCOMPARE(files.size(), 1);
        const QImage exported
            = QImage(QDir(unpacked).filePath(files.first())).convertToFormat(QImage::Format_RGB32);
        QCOMPARE(exported.size(), screen);
        const Band exportedBand = bandAt(desktop, exported, pageColumn, int(pageFrom.y()) - reach,
                                         int(pageFrom.y()) + reach);
        QVERIFY2(qAbs(exportedBand.inkedRows - PenWidth * Scale) <= 1
                     && qAbs(exportedBand.middle - pageFrom.y()) <= 1,
                 qPrintable(describe(exportedBand)));
        QVERIFY(exported.copy(quiet) == desktop.copy(quiet));
    }
};

QTEST_MAIN(TestZoomX11)
#include "test_zoom_x11.moc"
