#include "app/appstate.h"
#include "canvas/mainview.h"
#include "document/addcommand.h"
#include "document/imagestatic.h"
#include "document/imagesvg.h"
#include "document/mainpage.h"
#include "document/objeraser.h"
#include "document/objline.h"
#include "document/objselect.h"
#include "document/objshape.h"
#include "document/objstroke.h"
#include "document/objtext.h"
#include "document/pagerenderer.h"
#include "loadedimage.h"
#include "testenvironment.h"

#include <QApplication>
#include <QPainter>
#include <QTextDocument>
#include <QThread>
#include <QUndoStack>
#include <QtTest>

#include <memory>

namespace {

ObjStroke *stroke(const QPointF &from, const QPointF &to, const QColor &colour, int kind)
{
    auto *s = new ObjStroke;
    s->strokeKind = kind;
    s->width = 14;
    s->colour = colour;
    s->path.moveTo(from);
    if (kind != ObjStroke::Brush) {
        s->path.lineTo(to);
        return s;
    }
    // A brush starts with a dot, then carries a pressure per element.
    s->path.lineTo(from + QPointF(1, 0));
    for (int i = 1; i <= 10; ++i) {
        s->path.lineTo(from + (to - from) * i / 10.0);
        s->pressures.append(float(i) / 10.0f);
    }
    return s;
}

QList<Obj *> layerObjects()
{
    auto *line = new ObjLine;
    line->line = QLineF(40, 260, 260.5, 280);
    line->endCap = ObjLine::FilledArrow;
    line->width = 6;
    line->shadow = 1;
    auto *shape = new ObjShape;
    shape->shapeType = ObjShape::Star5;
    shape->rect = QRectF(200, 100, 80, 70);
    shape->fill = QColor(0, 0, 255, 128);
    auto *text = new ObjText;
    text->rect = QRectF(60, 60, 200, 80);
    auto *doc = new QTextDocument;
    doc->setDefaultFont(text->font);
    doc->setHtml(QStringLiteral("<b style='color:red'>Bold</b> plain"));
    text->setDocument(doc);
    auto *piece = new ObjSelect;
    piece->path.addRect(QRectF(10, 140, 60, 40));
    piece->rect = QRectF(200, 200, 60, 40);
    auto *pixels = new QImage(60, 40, QImage::Format_ARGB32_Premultiplied);
    pixels->fill(QColor(20, 200, 90, 160));
    piece->setImage(pixels);
    auto *eraser = new ObjEraser;
    eraser->width = 30;
    eraser->appendSegment(QPointF(10, 200), QPointF(150, 210.5));
    return { stroke(QPointF(30, 30), QPointF(250, 40), Qt::yellow, ObjStroke::Highlighter),
             stroke(QPointF(20, 200), QPointF(180, 220), Qt::darkGreen, ObjStroke::Brush),
             stroke(QPointF(10, 150), QPointF(290, 160), Qt::red, ObjStroke::Pen),
             eraser,
             piece,
             line,
             shape,
             text };
}

QImage onWorker(const std::function<QImage()> &render)
{
    QImage result;
    std::unique_ptr<QThread> thread(QThread::create([&] { result = render(); }));
    thread->start();
    thread->wait();
    return result;
}

} // namespace

// Pages copied out on the GUI thread and rendered on a worker give the
// canvas's own pictures, and keep the page as it was when copied.
class TestPageRenderer : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    std::unique_ptr<MainView> view;
    QString png, svg;

    // A page of `ratio` device pixels per pixel with a picture background
    // smaller than itself and every kind of object.
    MainPage *fullPage(qreal ratio)
    {
        view->newPage();
        MainPage *page = view->currentPage();
        page->size = QSize(300, 300);
        page->setPixels(page->size * ratio, ratio);
        QImage background(QSize(280, 260) * ratio, QImage::Format_RGB32);
        background.fill(QColor(250, 240, 230));
        QPainter(&background).fillRect(0, 0, 40, 300, Qt::darkBlue);
        QPixmap picture = QPixmap::fromImage(background);
        picture.setDevicePixelRatio(ratio);
        view->setBackground(picture);
        page->appendObjects({ loadedImage<ImageStatic>(png, QRectF(100, 150, 50, 40), 30),
                              loadedImage<ImageSVG>(svg, QRectF(20, 20, 60, 60), -12.5f) },
                            false);
        page->appendObjects(layerObjects(), false);
        return page;
    }

private Q_SLOTS:
    void init()
    {
        env = std::make_unique<TestEnvironment>();
        QDir().mkpath(AppState::instance().tempFolder = env->path(QStringLiteral("temp/")));
        view = std::make_unique<MainView>();
        png = env->path(QStringLiteral("picture.png"));
        QImage picture(50, 40, QImage::Format_ARGB32);
        picture.fill(QColor(200, 30, 30, 180));
        QVERIFY(picture.save(png));
        svg = env->path(QStringLiteral("picture.svg"));
        QVERIFY(writeFile(svg,
                          "<svg xmlns='http://www.w3.org/2000/svg' width='60' height='60'>"
                          "<circle cx='30' cy='30' r='25' fill='purple'/></svg>"));
    }

    void cleanup()
    {
        view.reset();
        env.reset();
    }

    void copiesRenderAsTheCanvasDoes()
    {
        for (const qreal ratio : { 1.0, 2.0 }) {
            MainPage *page = fullPage(ratio);
            const PageRecord record = PageRenderer::snapshot(page);
            const QImage whole = onWorker([&] { return PageRenderer::renderPage(record); });
            QCOMPARE(whole, PageRenderer::renderPage(page));
            QCOMPARE(whole.devicePixelRatio(), ratio);
            QCOMPARE(onWorker([&] { return PageRenderer::renderObjects(record); }),
                     PageRenderer::renderObjects(page));
            // A fresh page: a live SVG keeps its first rendering for smaller sizes.
            MainPage *other = fullPage(ratio);
            const PageRecord copy = PageRenderer::snapshot(other);
            QCOMPARE(onWorker([&] { return PageRenderer::renderPage(copy, true, 0.37f); }),
                     PageRenderer::renderPage(other, true, 0.37f));
        }
        // A colour page, and the pictures really are there.
        view->newPage();
        MainPage *plain = view->currentPage();
        plain->colour = Qt::cyan;
        plain->appendObjects({ loadedImage<ImageStatic>(png, QRectF(10, 10, 50, 40), 0) }, false);
        const QImage picture = PageRenderer::renderPage(PageRenderer::snapshot(plain));
        QCOMPARE(picture, PageRenderer::renderPage(plain));
        QCOMPARE(picture.pixelColor(5, 5), QColor(Qt::cyan));
        QVERIFY(picture.pixelColor(30, 30).red() > 120 && picture.pixelColor(30, 30).green() < 120);
    }

    void copiesKeepThePageAsItWas()
    {
        MainPage *page = fullPage(1.0);
        auto *added = stroke(QPointF(0, 290), QPointF(300, 290), Qt::magenta, ObjStroke::Pen);
        QVERIFY(view->pushCommand(new AddCommand(view.get(), added)));
        const QImage before = PageRenderer::renderPage(page);
        const PageRecord record = PageRenderer::snapshot(page);

        // The stroke leaves, the picture loses its pixels, the text changes.
        page->undoStack->undo();
        static_cast<ImageStatic *>(page->objects.first())->release();
        static_cast<ObjText *>(page->objects.last())->document->setPlainText(QStringLiteral("x"));
        QVERIFY(PageRenderer::renderPage(page) != before);
        QCOMPARE(onWorker([&] { return PageRenderer::renderPage(record); }), before);
    }
};

QTEST_MAIN(TestPageRenderer)
#include "test_pagerenderer.moc"
