#include "commandoutput.h"
#include "document/pdfloader.h"
#include "document/pdfmodule.h"
#include "slidepdf.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

// One ink page per slide: a red line across it at `y`.
QByteArray inkPages(int pages, qreal y = 200)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(72);
    writer.setPageLayout(QPageLayout(QPageSize(QSizeF(SlidePdf::Width, SlidePdf::Height),
                                               QPageSize::Point, QString(), QPageSize::ExactMatch),
                                     QPageLayout::Portrait, QMarginsF()));
    QPainter painter(&writer);
    painter.setPen(QPen(Qt::red, 6));
    for (int i = 0; i < pages; ++i) {
        if (i > 0)
            writer.newPage();
        painter.drawLine(QPointF(40, y), QPointF(680, y));
    }
    painter.end();
    return bytes;
}

} // namespace

// Pages of other PDFs copied with the ink laid over them: what they share is
// copied once, and what qpdf cannot read is refused with a reason.
class TestPdfAssembler : public QObject
{
    Q_OBJECT

    QTemporaryDir folder;

    QString saved(const QByteArray &bytes)
    {
        const QString name = folder.filePath(QStringLiteral("assembled.pdf"));
        QFile file(name);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return QString();
        return name;
    }

    static QString pageText(const QString &strPdf, int number)
    {
        return QString::fromUtf8(
            commandOutput(QStringLiteral("pdftotext"),
                          { QStringLiteral("-f"), QString::number(number), QStringLiteral("-l"),
                            QString::number(number), strPdf, QStringLiteral("-") }));
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(PdfLoader::module()); }

    void sharedResourcesCopiedOnce()
    {
        constexpr int Pages = 40;
        const QByteArray slides = SlidePdf::make(Pages, QStringLiteral("Cells"));
        const QByteArray ink = inkPages(Pages);
        QList<PdfPlacement> plan;
        for (int i = 0; i < Pages; ++i)
            plan.append({ 0, i });
        QByteArray out;
        QString error;
        QVERIFY2(
            PdfLoader::module()->assemble({ { slides, QString() } }, { ink }, plan, &out, &error),
            qPrintable(error));
        QVERIFY2(out.size() <= slides.size() * 1.1 + ink.size(),
                 qPrintable(QStringLiteral("%1 from %2 + %3")
                                .arg(out.size())
                                .arg(slides.size())
                                .arg(ink.size())));
        const QString pdf = saved(out);
        QCOMPARE(commandOutput(QStringLiteral("qpdf"), { QStringLiteral("--show-npages"), pdf })
                     .trimmed(),
                 QByteArray::number(Pages));
        QVERIFY(pageText(pdf, Pages).contains(QLatin1String("Cells 40")));
    }

    // The same slide twice, and a page of ink alone between them.
    void repeatedPagesAndInkAlone()
    {
        const QByteArray slides = SlidePdf::make(2, QStringLiteral("Leaves"));
        QByteArray out;
        QString error;
        QVERIFY2(PdfLoader::module()->assemble({ { slides, QString() } },
                                               { inkPages(1, 100), inkPages(2, 300) },
                                               { { 0, 1 }, {}, { 0, 1 } }, &out, &error),
                 qPrintable(error));
        const QString pdf = saved(out);
        QVERIFY(pageText(pdf, 1).contains(QLatin1String("Leaves 2")));
        QVERIFY(pageText(pdf, 2).trimmed().isEmpty());
        QVERIFY(pageText(pdf, 3).contains(QLatin1String("Leaves 2")));
        // Each time with its own ink alone.
        const QString prefix = folder.filePath(QStringLiteral("third"));
        commandOutput(QStringLiteral("pdftoppm"),
                      { QStringLiteral("-png"), QStringLiteral("-singlefile"), QStringLiteral("-r"),
                        QStringLiteral("72"), QStringLiteral("-f"), QStringLiteral("3"), pdf,
                        prefix });
        const QImage third(prefix + QLatin1String(".png"));
        QCOMPARE(third.pixelColor(360, 300), QColor(Qt::red));
        QCOMPARE(third.pixelColor(360, 100), QColor(Qt::white));
        QVERIFY(
            !commandOutput(QStringLiteral("qpdf"), { QStringLiteral("--check"), pdf }).isEmpty());
    }

    void refusesWhatItCannotRead()
    {
        const QByteArray slides = SlidePdf::make(1, QStringLiteral("Roots"));
        QByteArray out;
        QString error;
        PdfModule *module = PdfLoader::module();
        QVERIFY(!module->assemble({ { QByteArray("%PDF-1.7 nothing else"), QString() } },
                                  { inkPages(1) }, { { 0, 0 } }, &out, &error));
        QVERIFY(!error.isEmpty());
        error.clear();
        QVERIFY(!module->assemble({ { slides, QString() } }, { QByteArray("not a PDF") },
                                  { { 0, 0 } }, &out, &error));
        QVERIFY(!error.isEmpty());
        error.clear();
        QVERIFY(!module->assemble({ { slides, QString() } }, { inkPages(2) }, { { 0, 0 } }, &out,
                                  &error));
        QVERIFY(!error.isEmpty());
        error.clear();
        QVERIFY(!module->assemble({ { slides, QString() } }, { inkPages(1) }, { { 0, 3 } }, &out,
                                  &error));
        QVERIFY(!error.isEmpty());
        error.clear();
        QVERIFY(!module->assemble({ { slides, QString() } }, { inkPages(1) }, { { 1, 0 } }, &out,
                                  &error));
        QVERIFY(!error.isEmpty());
    }
};

QTEST_MAIN(TestPdfAssembler)
#include "test_pdfassembler.moc"
