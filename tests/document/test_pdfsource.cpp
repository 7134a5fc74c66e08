#include "slidepdf.h"

#include "document/pdfmodule.h"
#include "document/pdfsource.h"

#include <QtTest>

// The refusals of a locked PDF that the open flow answers.
class TestPdfSource : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void passwords()
    {
        const QByteArray locked = SlidePdf::locked(SlidePdf::coloured(2), QStringLiteral("tafel"));
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
        QCOMPARE(QColor(second.pixel(10, 10)).hue(), SlidePdf::colour(1).hue());
    }
};

QTEST_MAIN(TestPdfSource)
#include "test_pdfsource.moc"
