#include "app/devicepixels.h"
#include "canvas/pentool.h"
#include "canvasfixture.h"
#include "desktoptools/capturearea.h"
#include "desktoptools/captureloupe.h"
#include "desktoptools/rulerview.h"
#include "document/pagerenderer.h"
#include "numberedpicture.h"

#include <QPainter>

namespace {

// A window showing a picture at the screen's device pixels.
class NumberedWindow : public QWidget
{
public:
    NumberedWindow(const QImage &picture, qreal ratio)
        : picture(picture)
    {
        this->picture.setDevicePixelRatio(ratio);
        setWindowFlags(Qt::FramelessWindowHint);
    }

protected:
    void paintEvent(QPaintEvent *) override { QPainter(this).drawImage(QPoint(0, 0), picture); }

private:
    QImage picture;
};

} // namespace

// Pages on a scaled screen (the ratio comes from QT_SCALE_FACTOR; CTest runs
// this at 1, 1.5 and 2): the page holds the screen's device pixels, its
// picture survives the trip through its file unscaled, drawings land where
// the pointer was, and exports carry every device pixel.
class TestScaledPages : public QObject
{
    Q_OBJECT

    std::unique_ptr<CanvasFixture> canvas;
    MainView *view = nullptr;

    static qreal ratio() { return QGuiApplication::primaryScreen()->devicePixelRatio(); }

    // A desktop picture as a grab of this screen delivers it: device pixels
    // with the screen's ratio, four quadrant colours and a one-pixel
    // checkerboard in the top-left quadrant, which any scaling would blur.
    static QPixmap desktopPicture(const QSize &device)
    {
        QImage image(device, QImage::Format_RGB32);
        const int w = device.width() / 2;
        const int h = device.height() / 2;
        for (int y = 0; y < device.height(); ++y) {
            for (int x = 0; x < device.width(); ++x) {
                QRgb c = x < w ? (y < h ? qRgb(255, 0, 0) : qRgb(0, 0, 255))
                               : (y < h ? qRgb(0, 255, 0) : qRgb(255, 255, 0));
                if (x < w && y < h && (x + y) % 2 == 1)
                    c = qRgb(0, 0, 0);
                image.setPixel(x, y, c);
            }
        }
        QPixmap picture = QPixmap::fromImage(image);
        picture.setDevicePixelRatio(ratio());
        return picture;
    }

    // The page's interior as shown, in device pixels (the frame covers the edges).
    static QRect interior(const QSize &device)
    {
        const int border = qCeil(40 * ratio());
        return QRect(QPoint(0, 0), device).adjusted(border, border, -border, -border);
    }

private Q_SLOTS:
    void init()
    {
        canvas = std::make_unique<CanvasFixture>(QSize(), false);
        QVERIFY(canvas->exposed);
        view = canvas->view;
    }

    void cleanup() { canvas.reset(); }

    void pageAndLayerHoldDevicePixels()
    {
        QScreen *screen = QGuiApplication::primaryScreen();
        QCOMPARE(view->newPage(), screen->size());
        MainPage *page = view->currentPage();
        QCOMPARE(page->pixelRatio, ratio());
        QCOMPARE(page->pixelSize, DevicePixels::size(screen->size(), ratio()));
        QCOMPARE(view->layer()->size(), page->pixelSize);
        QCOMPARE(view->layer()->devicePixelRatio(), ratio());
        // A copy is made at the same resolution.
        view->duplicatePage();
        QCOMPARE(view->currentPage()->pixelSize, page->pixelSize);
        QCOMPARE(view->currentPage()->pixelRatio, ratio());
    }

    void pictureSurvivesItsFileUnscaled()
    {
        view->newPage();
        const QSize device = view->currentPage()->pixelSize;
        const QPixmap desktop = desktopPicture(device);
        view->setBackground(desktop);
        // Away and back: the picture comes from its file again.
        view->newPage();
        view->document().gotoPage(0);
        QCOMPARE(view->backgroundPicture().devicePixelRatio(), ratio());
        QCOMPARE(view->backgroundPicture().size(), device);

        const QImage expected = desktop.toImage().convertToFormat(QImage::Format_RGB32);
        QImage shown = view->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shown.size(), device);
        const QRect inside = interior(device);
        QCOMPARE(shown.copy(inside), expected.copy(inside));

        // Exported at full resolution, pixel for pixel.
        const QImage exported
            = PageRenderer::renderPage(view->currentPage()).convertToFormat(QImage::Format_RGB32);
        QCOMPARE(exported.size(), device);
        QVERIFY(exported == expected);
        // Thumbnails stay small: scaled renderings are measured logically.
        QCOMPARE(PageRenderer::renderPage(view->currentPage(), true, 0.5f).size(),
                 view->currentPage()->size * 0.5);
    }

    void strokeLandsUnderThePointer()
    {
        view->newPage();
        ToolKit::instance().setCurrentTool(ToolKit::Pen);
        PenTool *pen = ToolKit::instance().penTool();
        pen->strokeTemplate.width = pen->lineTemplate.width = 2;
        pen->strokeTemplate.colour = pen->lineTemplate.colour = Qt::red;
        // A drag between two points given to the half device pixel.
        const QPointF a(60.5, 50.5);
        const QPointF b(160.5, 50.5);
        canvas->send(QEvent::MouseButtonPress, a, Qt::LeftButton);
        for (int i = 1; i <= 10; ++i)
            canvas->send(QEvent::MouseMove, a + (b - a) * i / 10.0, Qt::LeftButton);
        canvas->send(QEvent::MouseButtonRelease, b, Qt::NoButton);
        const QImage layer = *view->layer();
        auto inked = [&](const QPointF &p) {
            const QPoint d(qFloor(p.x() * ratio() + 0.5), qFloor(p.y() * ratio() + 0.5));
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    if (qAlpha(layer.pixel(d + QPoint(dx, dy))) > 0)
                        return true;
            return false;
        };
        QVERIFY(inked(a));
        QVERIFY(inked(b));
        QVERIFY(inked((a + b) / 2));
        // Nothing where a scaled-twice stroke would have gone.
        QVERIFY(!inked(QPointF(a.x() * 2, a.y() * 2) + QPointF(200, 100)));
        // Exported where it was drawn.
        const QImage exported = PageRenderer::renderObjects(view->currentPage());
        const QPoint mid(qRound(110.5 * ratio()), qRound(50.5 * ratio()));
        QVERIFY(qAlpha(exported.pixel(mid)) > 0 || qAlpha(exported.pixel(mid + QPoint(0, 1))) > 0);
    }

    void regionCutKeepsDevicePixels()
    {
        const QSize device = DevicePixels::size(QSize(300, 200), ratio());
        const QPixmap still = desktopPicture(device);
        QPainterPath area;
        area.addRect(QRect(11, 7, 151, 101));
        const QPixmap cut = CaptureArea::cut(area, still);
        const QRect marked = DevicePixels::rect(QRect(11, 7, 151, 101), ratio());
        QCOMPARE(cut.size(), marked.size());
        QCOMPARE(cut.devicePixelRatio(), ratio());
        QCOMPARE(cut.toImage().convertToFormat(QImage::Format_RGB32),
                 still.toImage().copy(marked).convertToFormat(QImage::Format_RGB32));
    }

    // Each screen pixel around the pointer nine logical pixels wide, the one
    // under the pointer in the framed centre, also where the pointer lies
    // between logical pixels.
    void loupeEnlargesTheScreensOwnPixels()
    {
        const qreal r = ratio();
        const QSize device = DevicePixels::size(QSize(400, 300), r);
        const QImage numbered = numberedPicture(device);
        QPixmap still = QPixmap::fromImage(numbered);
        still.setDevicePixelRatio(r);
        QImage shown(device, QImage::Format_RGB32);
        shown.setDevicePixelRatio(r);
        shown.fill(Qt::white);
        const QPoint pointer(301, 203);
        CaptureLoupe loupe;
        {
            QPainter painter(&shown);
            loupe.paint(painter, still, QPointF(pointer) / r, QString());
        }
        const QPointF corner = QPointF(loupe.rect().topLeft()) * r;
        const qreal cell = 9 * r;
        auto cellPixel
            = [&](qreal k) { return shown.pixel((corner + QPointF(k, k) * cell).toPoint()); };
        // Off the centre cross and the caption.
        for (int k : { 1, 5, 9, 17 })
            QCOMPARE(cellPixel(k + 0.5), numbered.pixel(pointer + QPoint(k - 12, k - 12)));
        QCOMPARE(cellPixel(12.25), numbered.pixel(pointer));
    }

    // A page larger than its window (made on a larger screen, since gone)
    // is shown whole and smoothly scaled, and drawn on under the pointer.
    void largerPageIsShownWholeAndSmoothly()
    {
        const QSize screen = QGuiApplication::primaryScreen()->size();
        canvas = std::make_unique<CanvasFixture>(screen / 2);
        view = canvas->view;
        // Halved, give or take the rounding of an odd screen.
        QVERIFY(qAbs(view->pageScale() - 0.5) < 0.01);
        QVERIFY(qAbs(view->width() - screen.width() / 2) <= 1);
        view->setBackground(desktopPicture(view->currentPage()->pixelSize));

        // The one-pixel checkerboard of red and black in the top-left
        // quadrant turns dark red, not one of the two.
        const QImage shown = view->grab().toImage();
        for (const QPointF &at : { QPointF(0.2, 0.2), QPointF(0.3, 0.35), QPointF(0.4, 0.25) }) {
            const QPointF p(at.x() * view->width(), at.y() * view->height());
            const QRgb c = shown.pixel((p * ratio()).toPoint());
            QVERIFY2(qRed(c) > 90 && qRed(c) < 165 && qGreen(c) < 10, qPrintable(QColor(c).name()));
        }

        ToolKit::instance().setCurrentTool(ToolKit::Pen);
        canvas->press(QPoint(100, 100));
        canvas->move(QPoint(150, 100));
        canvas->release(QPoint(150, 100));
        const QPoint onPage = (QPointF(250, 200) * ratio()).toPoint();
        QVERIFY(qAlpha(view->layer()->pixel(onPage)) > 0);
        QCOMPARE(qAlpha(view->layer()->pixel((QPointF(125, 100) * ratio()).toPoint())), 0);
    }

    // The ruler's enlarged view of the live screen, at the screen's pixels.
    void rulerViewEnlargesTheScreensOwnPixels()
    {
        const qreal r = ratio();
        QScreen *screen = QGuiApplication::primaryScreen();
        const QImage numbered = numberedPicture(DevicePixels::size(screen->size(), r));
        NumberedWindow desktop(numbered, r);
        desktop.setGeometry(screen->geometry());
        desktop.show();
        QVERIFY(QTest::qWaitForWindowExposed(&desktop));

        RulerView view(nullptr);
        view.start();
        const QPoint marker(301, 203);
        view.place(marker, marker, RulerView::Inside);
        const QImage shown = view.grab().toImage();
        view.stop();
        const QRect source = DevicePixels::rect(QRect(marker - QPoint(12, 12), QSize(25, 25)), r);
        const qreal zoom = RulerView::Side * r / source.width();
        for (int k : { 1, 5, 9 }) {
            const QPoint at = (QPointF(k + 0.5, k + 0.5) * zoom).toPoint();
            QCOMPARE(shown.pixel(at), numbered.pixel(source.topLeft() + QPoint(k, k)));
        }
    }
};

QTEST_MAIN(TestScaledPages)
#include "test_scaledpages.moc"
