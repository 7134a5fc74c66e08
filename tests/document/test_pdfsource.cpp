#include "lessonpdf.h"

#include "document/pdfmodule.h"
#include "document/pdfsource.h"

#include <QtTest>

// Opening PDFs as the program does: the refusals the open flow answers, and
// pages rendered fitted over white.
class TestPdfSource : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void passwords()
    {
        const QByteArray locked = LessonPdf::encrypt(LessonPdf::make(2), QStringLiteral("tafel"));
        QVERIFY(!locked.isEmpty());
        PdfRefusal why = PdfRefusal::None;
        QVERIFY(!PdfSource::open(locked, QString(), &why));
        QCOMPARE(why, PdfRefusal::NeedsPassword);
        QVERIFY(!PdfSource::open(locked, QStringLiteral("tafle"), &why));
        QCOMPARE(why, PdfRefusal::WrongPassword);
        const std::shared_ptr<PdfSource> pdf
            = PdfSource::open(locked, QStringLiteral("tafel"), &why);
        QVERIFY(pdf);
        QCOMPARE(why, PdfRefusal::None);
        QCOMPARE(pdf->pageCount(), 2);
        QCOMPARE(pdf->password(), QStringLiteral("tafel"));
        const QImage second = pdf->render(1, QSize(720, 405));
        QCOMPARE(QColor(second.pixel(10, 10)).hue(), LessonPdf::slideColour(1).hue());
    }

    // The page keeps its proportions inside the box, and what it does not
    // paint is paper white.
    void rendersFittedOverWhite()
    {
        const std::shared_ptr<PdfSource> pdf = PdfSource::open(LessonPdf::make(1), QString());
        QVERIFY(pdf);
        QCOMPARE(pdf->pageSize(0), QSizeF(720, 405));
        QCOMPARE(pdf->fittedSize(0, QSize(400, 400)), QSize(400, 225));
        const QImage page = pdf->render(0, QSize(400, 400));
        QCOMPARE(page.size(), QSize(400, 225));
        QCOMPARE(page.pixel(390, 215), qRgb(255, 255, 255));
        QVERIFY(pdf->render(1, QSize(400, 400)).isNull());
        QVERIFY(pdf->render(-1, QSize(400, 400)).isNull());
    }
};

QTEST_MAIN(TestPdfSource)
#include "test_pdfsource.moc"
