#include "slidepdf.h"

#include "document/pdfmodule.h"
#include "document/pdfsource.h"

#include <QThread>
#include <QtTest>

#include <functional>

namespace {

using SlidePdf::raw;

const QByteArray Catalogue = "<< /Type /Catalog /Pages 2 0 R >>";
const QByteArray ObjectStream = "<< /Type /ObjStm /N 1 /First 4 /Extends 4 0 R /Length 12 >>\n"
                                "stream\n4 0 4 0 R\nendstream";
const QByteArray FormPage = "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 100 100] /Contents 4 0 "
                            "R /Resources << /XObject << /X 5 0 R >> >> >>";
const QByteArray Form = "<< /Type /XObject /Subtype /Form /BBox [0 0 100 100] /Resources << "
                        "/XObject << /X 5 0 R >> >> /Length 8 >>\nstream\n/X Do   \nendstream";

// One page of `mediaBox` drawing `content`.
QByteArray onePage(const QByteArray &mediaBox, const QByteArray &content = "0 0 m 10 10 l S")
{
    return raw({ Catalogue, "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
                 "<< /Type /Page /Parent 2 0 R /MediaBox " + mediaBox + " /Contents 4 0 R >>",
                 "<< /Length " + QByteArray::number(content.size()) + " >>\nstream\n" + content
                     + "\nendstream" });
}

struct Outcome
{
    PdfRefusal why = PdfRefusal::None;
    int pages = 0;
    bool rendered = false;
};

// Opens the PDF and renders every page it has small, as the page browser
// would, on a thread of its own: a hang fails the test instead of stopping it.
Outcome openAndRender(const QByteArray &bytes)
{
    Outcome outcome;
    QThread *worker = QThread::create([&] {
        const std::shared_ptr<PdfSource> pdf = PdfSource::open(bytes, QString(), &outcome.why);
        if (!pdf)
            return;
        outcome.pages = pdf->pageCount();
        outcome.rendered = true;
        for (int i = 0; i < pdf->pageCount(); ++i)
            outcome.rendered = !pdf->render(i, QSize(64, 64)).isNull() && outcome.rendered;
    });
    worker->start();
    // Only against hangs: far past what any of these takes.
    if (!worker->wait(QDeadlineTimer(120000)))
        qFatal("A hostile PDF was still being read after two minutes");
    delete worker;
    return outcome;
}

} // namespace

// PDFs made to crash, freeze or exhaust their reader: every one is refused,
// or opened within the bounds and rendered, never a crash or a hang.
class TestHostilePdfs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void truncated()
    {
        const QByteArray whole = SlidePdf::coloured(3);
        for (const qsizetype length :
             { qsizetype(0), qsizetype(9), qsizetype(200), whole.size() / 2, whole.size() - 40 }) {
            const Outcome outcome = openAndRender(whole.left(length));
            // The renderer may repair what is left; what it opens it renders.
            QVERIFY2(outcome.why == PdfRefusal::Damaged
                         || (outcome.why == PdfRefusal::None && outcome.pages <= 3),
                     qPrintable(QString::number(length)));
        }
        QCOMPARE(openAndRender(QByteArray(4096, 'x')).why, PdfRefusal::Damaged);
    }

    // Pages past the bound, real ones or only counted, cost no page sizes.
    void hugePageCount()
    {
        const Outcome many
            = openAndRender(SlidePdf::coloured(PdfBounds::MaxPages + 1, QSizeF(60, 40)));
        QCOMPARE(many.why, PdfRefusal::TooLarge);
        const Outcome lastOne
            = openAndRender(SlidePdf::coloured(PdfBounds::MaxPages, QSizeF(60, 40)));
        QCOMPARE(lastOne.why, PdfRefusal::None);
        QCOMPARE(lastOne.pages, PdfBounds::MaxPages);

        const QByteArray counted
            = raw({ Catalogue, "<< /Type /Pages /Kids [3 0 R] /Count 2000000000 >>",
                    "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 100 100] >>" });
        const Outcome outcome = openAndRender(counted);
        QVERIFY(outcome.why != PdfRefusal::None || outcome.pages <= PdfBounds::MaxPages);
    }

    void hugeOrAbsurdPageSize()
    {
        QCOMPARE(openAndRender(onePage("[0 0 100000 100]")).why, PdfRefusal::TooLarge);
        QCOMPARE(openAndRender(onePage("[0 0 2000000 2000000]")).why, PdfRefusal::TooLarge);
        const Outcome nothing = openAndRender(onePage("[0 0 0 0]"));
        QVERIFY(nothing.why != PdfRefusal::None || nothing.rendered);
        const Outcome backwards = openAndRender(onePage("[0 0 -500 -300]"));
        QVERIFY(backwards.why != PdfRefusal::None || backwards.rendered);
        const Outcome sized = openAndRender(onePage("[0 0 14400 14400]"));
        QCOMPARE(sized.why, PdfRefusal::None);
        QVERIFY(sized.rendered);
        // A render past the pixel bound is refused before any is made.
        const std::shared_ptr<PdfSource> pdf = PdfSource::open(onePage("[0 0 1000 1000]"), {});
        QVERIFY(pdf);
        QVERIFY(pdf->render(0, QSize(9000, 9000)).isNull());
        QVERIFY(!pdf->render(0, QSize(4000, 4000)).isNull());
    }

    void endlessLoops()
    {
        const QList<QByteArray> loops {
            // A page tree whose kids are itself.
            SlidePdf::selfHoldingTree(),
            // Two page trees, each the other's kid.
            raw({ Catalogue, "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
                  "<< /Type /Pages /Kids [2 0 R] /Parent 2 0 R /Count 1 >>" }),
            // A stream whose length is itself, and one whose lengths refer round.
            raw({ Catalogue, "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
                  "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 100 100] /Contents 4 0 R >>",
                  "<< /Length 4 0 R >>\nstream\n0 0 m 9 9 l S\nendstream" }),
            raw({ Catalogue, "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
                  "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 100 100] /Contents 4 0 R >>",
                  "<< /Length 5 0 R >>\nstream\n0 0 m 9 9 l S\nendstream", "6 0 R", "5 0 R" }),
            // An object stream that holds itself.
            raw({ Catalogue, "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
                  "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 100 100] >>", ObjectStream }),
            // A form that draws itself, endlessly deep.
            raw({ Catalogue, "<< /Type /Pages /Kids [3 0 R] /Count 1 >>", FormPage,
                  "<< /Length 8 >>\nstream\n/X Do   \nendstream", Form }),
        };
        for (qsizetype i = 0; i < loops.size(); ++i) {
            const Outcome outcome = openAndRender(loops.at(i));
            QVERIFY2(outcome.why != PdfRefusal::None || outcome.rendered,
                     qPrintable(QString::number(i)));
        }
    }

    void tooManyBytes()
    {
        const QByteArray huge(PdfBounds::MaxBytes + 1, ' ');
        PdfRefusal why = PdfRefusal::None;
        QVERIFY(!PdfSource::open(huge, QString(), &why));
        QCOMPARE(why, PdfRefusal::TooLarge);
    }
};

QTEST_MAIN(TestHostilePdfs)
#include "test_hostilepdfs.moc"
