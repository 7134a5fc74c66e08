#include "canvasfixture.h"
#include "slidepdf.h"

#include "app/devicepixels.h"
#include "canvas/backgroundcache.h"
#include "document/pdfsource.h"

#include <QFile>

// Pages whose background is a page of a PDF, in the view and its cache.
class TestPdfPages : public QObject
{
    Q_OBJECT

    std::unique_ptr<CanvasFixture> canvas;
    std::shared_ptr<PdfSource> pdf;

    static bool near(const QColor &a, const QColor &b)
    {
        return qAbs(a.red() - b.red()) <= 3 && qAbs(a.green() - b.green()) <= 3
            && qAbs(a.blue() - b.blue()) <= 3;
    }

    // The colour of the slide's background where the view's middle shows it.
    static QColor middleOf(const QPixmap &picture)
    {
        const QImage image = picture.toImage();
        return image.pixelColor(image.width() / 2, image.height() / 2);
    }

    // Pages of the window's size showing the PDF's pages, the first current.
    void addPdfPages(int count)
    {
        QList<MainPage *> pages;
        const qreal ratio = canvas->view->devicePixelRatioF();
        for (int i = 0; i < count; ++i) {
            auto *page = new MainPage(canvas->window->size(), false);
            page->setPixels(DevicePixels::size(page->size, ratio), ratio);
            page->background = MainPage::PdfBackground;
            page->pdf = pdf;
            page->pdfPage = i;
            pages.append(page);
        }
        canvas->view->document().addPages(pages);
    }

    // What the view shows at a logical point.
    QColor shownAt(const QPoint &point) const
    {
        return canvas->shown(QPointF(point) * canvas->view->devicePixelRatioF());
    }

    Document &doc() { return canvas->view->document(); }
    MainPage *pageAt(int number) { return doc().pageList().at(number - 1); }
    // Shows the page of that number (from 1).
    bool turnTo(int number)
    {
        doc().gotoPage(number - 1);
        return doc().currentPageNumber() == number;
    }
    void waitForRenders() { QTRY_VERIFY(!canvas->view->isDecodingAhead()); }

private Q_SLOTS:
    void initTestCase()
    {
        pdf = PdfSource::open(SlidePdf::coloured(12, QSizeF(1024, 576)), QString());
        QVERIFY(pdf);
    }

    void init() { canvas = std::make_unique<CanvasFixture>(QSize(), false); }
    void cleanup() { canvas.reset(); }

    // A page not rendered ahead shows white paper until the worker has
    // rendered it, fitted into the page and centred on white; the neighbours
    // are rendered ahead, so a switch to one renders nothing.
    void showsThePageAndRendersNeighboursAhead()
    {
        addPdfPages(6);
        QVERIFY(turnTo(3));
        QVERIFY(canvas->view->backgroundPicture().isNull());
        QTRY_VERIFY(!canvas->view->backgroundPicture().isNull());
        const QPixmap shown = canvas->view->backgroundPicture();
        QVERIFY(near(middleOf(shown), SlidePdf::colour(2)));
        QCOMPARE(shown.size(), pdf->fittedSize(2, pageAt(3)->pixelSize));
        const QPoint middle(canvas->window->width() / 2, canvas->window->height() / 2);
        QVERIFY(near(shownAt(middle), SlidePdf::colour(2)));
        QCOMPARE(shownAt(QPoint(middle.x(), canvas->window->height() - 20)), QColor(Qt::white));

        waitForRenders();
        for (int number : { 2, 4 }) {
            pageAt(number)->pdf.reset(); // a render now would give nothing
            QVERIFY(turnTo(number));
            QVERIFY(
                near(middleOf(canvas->view->backgroundPicture()), SlidePdf::colour(number - 1)));
            QVERIFY(turnTo(3));
        }
    }

    // Pages that come in behind the page shown, as a load adds them, are its
    // neighbours too.
    void rendersNeighboursThatComeLater()
    {
        addPdfPages(1);
        QList<MainPage *> later;
        for (int i = 1; i < 3; ++i) {
            auto *page = doc().pageList().first()->clone();
            page->pdfPage = i;
            later.append(page);
        }
        doc().insertPages(1, later);
        waitForRenders();
        pageAt(2)->pdf.reset();
        QVERIFY(turnTo(2));
        QVERIFY(near(middleOf(canvas->view->backgroundPicture()), SlidePdf::colour(1)));
    }

    // Paging through the whole PDF keeps only the last few pages rendered.
    void keepsFewPagesRendered()
    {
        addPdfPages(12);
        for (int number = 1; number <= 12; ++number) {
            QVERIFY(turnTo(number));
            waitForRenders();
        }
        for (int number = 1; number <= 8; ++number)
            pageAt(number)->pdf.reset();
        QVERIFY(turnTo(1));
        QVERIFY(canvas->view->backgroundPicture().isNull());
        QCOMPARE(shownAt(QPoint(canvas->window->width() / 2, 100)), QColor(Qt::white));
    }

    // A copy shows the same PDF page, without a picture file of its own.
    void duplicateStaysAPdfPage()
    {
        addPdfPages(3);
        QVERIFY(turnTo(2));
        canvas->view->duplicatePage();
        waitForRenders();
        MainPage *copy = canvas->page();
        QCOMPARE(doc().currentPageNumber(), 3);
        QCOMPARE(copy->background, int(MainPage::PdfBackground));
        QCOMPARE(copy->pdf, pdf);
        QCOMPARE(copy->pdfPage, 1);
        QVERIFY(!QFile::exists(MainPage::backgroundFile(copy->id)));
        QVERIFY(near(middleOf(canvas->view->backgroundPicture()), SlidePdf::colour(1)));
    }

    // Ink goes over the slide and its undo brings the slide's pixels back.
    void drawsAndUndoesOverThePdf()
    {
        addPdfPages(2);
        waitForRenders();
        const QPoint middle(canvas->window->width() / 2, canvas->window->height() / 2);
        canvas->addStroke(middle - QPoint(60, 0), middle + QPoint(60, 0));
        QCOMPARE(shownAt(middle), QColor(Qt::red));
        QVERIFY(turnTo(2));
        QVERIFY(turnTo(1));
        QCOMPARE(shownAt(middle), QColor(Qt::red));
        QVERIFY(doc().undo());
        QVERIFY(near(shownAt(middle), SlidePdf::colour(0)));
    }

    // The cache renders a PDF page ahead at the pixels asked, and drops the
    // result of a page forgotten meanwhile.
    void cacheRendersPdfPages()
    {
        BackgroundCache cache;
        cache.renderAhead(1, pdf, 4, QSize(320, 320), 2.0);
        cache.renderAhead(2, pdf, 5, QSize(320, 180), 1.0);
        cache.forget(1);
        QTRY_VERIFY(!cache.isDecoding());
        QVERIFY(cache.find(1).isNull());
        const QPixmap second = cache.find(2);
        QCOMPARE(second.size(), QSize(320, 180));
        QVERIFY(near(middleOf(second), SlidePdf::colour(5)));
        cache.renderAhead(1, pdf, 4, QSize(320, 320), 2.0);
        QTRY_VERIFY(!cache.isDecoding());
        QCOMPARE(cache.find(1).devicePixelRatio(), 2.0);
        QCOMPARE(cache.find(1).size(), QSize(320, 180));

        // Paging fast: only the renders still wanted are made and kept.
        for (int id = 10; id < 40; ++id)
            cache.renderAhead(id, pdf, id % 12, QSize(320, 180), 1.0);
        cache.dropPendingExcept({ 39 });
        QTRY_VERIFY(!cache.isDecoding());
        QVERIFY(!cache.find(39).isNull());
        QVERIFY(cache.find(38).isNull() && cache.find(37).isNull());
    }
};

QTEST_MAIN(TestPdfPages)
#include "test_pdfpages.moc"
