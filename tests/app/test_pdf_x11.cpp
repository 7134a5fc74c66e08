#include "document/pdfsource.h"
#include "realprogram.h"
#include "slidepdf.h"
#include "testenvironment.h"

#include <QScreen>
#include <QtTest>

#include <memory>

// A teacher's slides in the real program: a PDF named on the command line
// opens as pages showing the PDF's own pixels, and the mouse writes on them.
// What an export of them holds is the PDF export test's.
class TestPdfX11 : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;

    static QImage shown(const QRect &r)
    {
        return QGuiApplication::primaryScreen()
            ->grabWindow(0, r.x(), r.y(), r.width(), r.height())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    }

    // Pixels of `area` that differ from the render by more than antialiasing.
    static int differingPixels(const QImage &screen, const QImage &render, const QRect &area)
    {
        int n = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                n += RealProgram::nearColour(screen.pixelColor(x - area.left(), y - area.top()),
                                             render.pixelColor(x, y), 24)
                    ? 0
                    : 1;
        return n;
    }

private Q_SLOTS:
    void init() { env = std::make_unique<TestEnvironment>(); }
    void cleanup() { env.reset(); }

    void opensFromTheCommandLineAndTakesInk()
    {
        const QByteArray bytes = SlidePdf::coloured(3, QSizeF(1024, 576));
        const QString slides = env->path(QStringLiteral("slides.pdf"));
        QVERIFY(writeFile(slides, bytes));
        const std::shared_ptr<PdfSource> pdf = PdfSource::open(bytes, QString());
        QVERIFY(pdf);
        const QSize screen = QGuiApplication::primaryScreen()->size();
        const qreal scale = screen.width() / 1024.0;
        const auto at
            = [scale](qreal x, qreal y) { return QPoint(qRound(x * scale), qRound(y * scale)); };

        RealProgram program(*env);
        QVERIFY(program.start({}, { slides }));
        const QPoint plain = at(400, 300);
        TAV_TRY_VERIFY(RealProgram::nearColour(RealProgram::shownAt(plain), SlidePdf::colour(0), 4),
                       15000);
        // The title and the drawing as the PDF's renderer paints them.
        const QImage render = pdf->render(0, screen);
        const int top = (screen.height() - render.height()) / 2;
        const QRect slide(at(60, 60).x(), at(60, 60).y() + top, at(900, 0).x() - at(60, 0).x(),
                          at(0, 420).y() - at(0, 60).y());
        const QImage onScreen = shown(slide);
        QVERIFY2(differingPixels(onScreen, render, slide.translated(0, -top))
                     < slide.width() * slide.height() / 200,
                 "the first page does not show the PDF's pixels");

        RealProgram::key(QStringLiteral("Next"));
        TAV_TRY_VERIFY(RealProgram::nearColour(RealProgram::shownAt(plain), SlidePdf::colour(1), 4),
                       15000);
        const QPoint from = at(300, 250), to = at(500, 250);
        RealProgram::drag(from, to);
        const QPoint middle = (from + to) / 2;
        TAV_TRY_VERIFY(
            !RealProgram::nearColour(RealProgram::shownAt(middle), SlidePdf::colour(1), 40), 10000);
        QVERIFY(RealProgram::nearColour(RealProgram::shownAt(middle + QPoint(0, 40)),
                                        SlidePdf::colour(1), 4));
    }
};

QTEST_MAIN(TestPdfX11)
#include "test_pdf_x11.moc"
