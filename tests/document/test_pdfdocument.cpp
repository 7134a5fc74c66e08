#include "pixels.h"
#include "slidepdf.h"
#include "testenvironment.h"
#include "testhost.h"
#include "zippedbytes.h"

#include "app/appstate.h"
#include "document/addcommand.h"
#include "document/documentreader.h"
#include "document/documentsnapshot.h"
#include "document/documentwriter.h"
#include "document/mainpage.h"
#include "document/pdfsource.h"
#include "document/sessionreader.h"
#include "document/sessionwriter.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QUndoStack>
#include <QtTest>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>

#include <memory>

namespace {

struct Entry
{
    QString name;
    QByteArray bytes;
    int method = -1; // 0: stored
};

QList<Entry> entriesOf(const QString &path)
{
    QList<Entry> entries;
    QuaZip zip(path);
    if (!zip.open(QuaZip::mdUnzip))
        return entries;
    for (bool more = zip.goToFirstFile(); more; more = zip.goToNextFile()) {
        QuaZipFile file(&zip);
        QuaZipFileInfo64 info;
        zip.getCurrentFileInfo(&info);
        file.open(QIODevice::ReadOnly);
        entries.append({ info.name, file.readAll(), int(info.method) });
    }
    return entries;
}

QJsonObject manifestOf(const QString &path)
{
    for (const Entry &e : entriesOf(path))
        if (e.name == QLatin1String(DocumentWriter::ManifestName))
            return QJsonDocument::fromJson(e.bytes).object();
    return QJsonObject();
}

} // namespace

// Pages that show PDF pages, written into documents and the session journal
// and read back: each PDF once, each page its own PDF page.
class TestPdfDocument : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    std::vector<std::unique_ptr<TestHost>> hosts;
    QList<MainPage *> pages;

    MainPage *pdfPage(const std::shared_ptr<PdfSource> &pdf, int index)
    {
        auto *page = new MainPage(QSize(720, 405), false);
        page->setPixels(QSize(1440, 810), 2);
        page->background = MainPage::PdfBackground;
        page->pdf = pdf;
        page->pdfPage = index;
        pages.append(page);
        return page;
    }

    void draw(MainPage *page, int y)
    {
        hosts.push_back(std::make_unique<TestHost>(page));
        page->undoStack->push(
            new AddCommand(hosts.back().get(), Pixels::line(QPointF(10, y), QPointF(300, y), 6)));
    }

    DocumentSnapshot snapshot() const { return DocumentSnapshot::take(pages, 7); }

    QString path(const QString &name) const { return dir.filePath(name); }

    bool save(const QString &file)
    {
        DocumentWriter writer;
        return writer.write(snapshot(), file, DocumentWriter::Embedded);
    }

    // The pages read back from `file`, and why none were.
    static QList<MainPage *> readBack(const QString &file, QString *error = nullptr)
    {
        DocumentReader reader;
        const QList<MainPage *> read = reader.read(file);
        if (error)
            *error = reader.error();
        return read;
    }

    // Rewrites a document with `change` applied to its entries.
    static void rewrite(const QString &file, const std::function<void(QList<Entry> *)> &change)
    {
        QList<Entry> entries = entriesOf(file);
        change(&entries);
        QList<QPair<QString, QByteArray>> plain;
        for (const Entry &e : std::as_const(entries))
            plain.append({ e.name, e.bytes });
        QVERIFY(writeFile(file, zipped(plain)));
    }

    // Each read page shows the PDF page the written one showed, rendered anew.
    void compareWithWritten(const QList<MainPage *> &read)
    {
        QCOMPARE(read.size(), pages.size());
        for (qsizetype i = 0; i < read.size(); ++i) {
            const MainPage *was = pages.at(i), *is = read.at(i);
            QCOMPARE(is->background, was->background);
            QCOMPARE(is->pdfPage, was->pdfPage);
            QCOMPARE(is->size, was->size);
            QCOMPARE(is->pixelSize, was->pixelSize);
            QCOMPARE(is->pixelRatio, was->pixelRatio);
            QCOMPARE(is->objects.size(), was->objects.size());
            if (was->background != MainPage::PdfBackground)
                continue;
            QVERIFY(is->pdf);
            QCOMPARE(is->pdf->fileName(), was->pdf->fileName());
            QCOMPARE(is->pdf->render(is->pdfPage, is->pixelSize),
                     was->pdf->render(was->pdfPage, was->pixelSize));
        }
    }

private Q_SLOTS:
    void initTestCase()
    {
        AppState::instance().tempFolder = dir.filePath(QStringLiteral("temp/"));
        QVERIFY(QDir().mkpath(AppState::instance().tempFolder));
    }

    void cleanup()
    {
        qDeleteAll(pages);
        pages.clear();
        hosts.clear();
    }

    // Two PDFs, one shown on two pages, one locked; a colour page between.
    void documentRoundTrip()
    {
        const QByteArray lesson = SlidePdf::coloured(3);
        const std::shared_ptr<PdfSource> slides = PdfSource::open(lesson, QString());
        const std::shared_ptr<PdfSource> locked
            = PdfSource::open(SlidePdf::locked(SlidePdf::coloured(2), QStringLiteral("tafel")),
                              QStringLiteral("tafel"));
        QVERIFY(slides && locked);
        draw(pdfPage(slides, 2), 100);
        pdfPage(slides, 0);
        pages.append(new MainPage(QSize(720, 405), false));
        draw(pages.last(), 50);
        draw(pdfPage(locked, 1), 200);
        const QString file = path(QStringLiteral("lesson.tavelmark"));
        QVERIFY(save(file));

        QStringList pdfEntries;
        for (const Entry &e : entriesOf(file)) {
            if (!e.name.endsWith(QLatin1String(".pdf")))
                continue;
            pdfEntries.append(e.name);
            QCOMPARE(e.method, 0);
        }
        QCOMPARE(pdfEntries,
                 (QStringList { QStringLiteral("pdfs/") + slides->fileName(),
                                QStringLiteral("pdfs/") + locked->fileName() }));
        QCOMPARE(manifestOf(file).value(QLatin1String("version")).toArray().at(0).toInt(),
                 DocumentWriter::PdfMajor);

        const QList<MainPage *> read = readBack(file);
        compareWithWritten(read);
        // One source per PDF, however many pages show it.
        QCOMPARE(read.at(0)->pdf, read.at(1)->pdf);
        QCOMPARE(read.at(0)->pdf->bytes(), lesson);
        QCOMPARE(read.at(3)->pdf->password(), QStringLiteral("tafel"));
        qDeleteAll(read);
    }

    // A document without PDF pages stays readable by readers of the first
    // major version.
    void documentsWithoutPdfPagesKeepTheFirstMajorVersion()
    {
        pages.append(new MainPage(QSize(100, 100), false));
        const QString file = path(QStringLiteral("plain.tavelmark"));
        QVERIFY(save(file));
        QCOMPARE(manifestOf(file).value(QLatin1String("version")).toArray().at(0).toInt(),
                 DocumentWriter::Major);
    }

    void damagedOrMissingPdfRefusesTheDocument()
    {
        const std::shared_ptr<PdfSource> slides = PdfSource::open(SlidePdf::coloured(2), QString());
        QVERIFY(slides);
        draw(pdfPage(slides, 1), 100);
        const QString file = path(QStringLiteral("damaged.tavelmark"));
        const QString pdfName = QStringLiteral("pdfs/") + slides->fileName();
        const QString refused = QStringLiteral(
            "A PDF of the document is damaged or missing; the document cannot be opened.");
        const QList<std::function<void(QList<Entry> *)>> damages {
            [&](QList<Entry> *entries) {
                for (Entry &e : *entries)
                    if (e.name == pdfName)
                        e.bytes = e.bytes.left(200);
            },
            [&](QList<Entry> *entries) {
                entries->removeIf([&](const Entry &e) { return e.name == pdfName; });
            },
            [&](QList<Entry> *entries) {
                for (Entry &e : *entries)
                    if (e.name == pdfName)
                        e.bytes = QByteArray(e.bytes.size(), 'x');
            },
        };
        for (const auto &damage : damages) {
            QVERIFY(save(file));
            rewrite(file, damage);
            QString error;
            QVERIFY(readBack(file, &error).isEmpty());
            QCOMPARE(error, refused);
        }

        // A page naming a PDF page that is not there is left out, the rest opens.
        QVERIFY(save(file));
        rewrite(file, [](QList<Entry> *entries) {
            entries->first().bytes.replace("\"pdfPage\":1", "\"pdfPage\":2");
        });
        DocumentReader reader;
        QVERIFY(reader.read(file).isEmpty());
        QVERIFY(!reader.notes().isEmpty());
    }

    // The PDF is kept once: a lesson's document is about the PDF's size.
    void documentSizeFollowsThePdf()
    {
        const QByteArray lesson = SlidePdf::coloured(50);
        const std::shared_ptr<PdfSource> slides = PdfSource::open(lesson, QString());
        QVERIFY(slides);
        for (int i = 0; i < 50; ++i)
            pdfPage(slides, i);
        draw(pages.at(3), 100);
        const QString file = path(QStringLiteral("fifty.tavelmark"));
        QVERIFY(save(file));
        const qint64 size = QFileInfo(file).size();
        qInfo("PDF %lld bytes, document %lld bytes", qint64(lesson.size()), size);
        QVERIFY(size < lesson.size() + lesson.size() / 20 + qint64(16) * 1024);
        const QList<MainPage *> read = readBack(file);
        QCOMPARE(read.size(), 50);
        QCOMPARE(read.at(49)->pdfPage, 49);
        qDeleteAll(read);
    }

    // The journal keeps each PDF once beside the pages, writes it when it
    // first comes and never again, and lets it go with its last page.
    void journalRoundTrip()
    {
        const std::shared_ptr<PdfSource> slides = PdfSource::open(SlidePdf::coloured(3), QString());
        QVERIFY(slides);
        draw(pdfPage(slides, 1), 100);
        pdfPage(slides, 2);
        const QString folder = path(QStringLiteral("session"));
        SessionWriter writer(folder);
        QVERIFY(writer.write(snapshot()));
        const QString pdfFile = QDir(folder).filePath(slides->fileName());
        QCOMPARE(readFile(pdfFile), slides->bytes());

        // A stroke later the PDF is not written again: a stand-in stays.
        QVERIFY(writeFile(pdfFile, slides->bytes() + "%stand-in"));
        draw(pages.first(), 150);
        QVERIFY(writer.write(snapshot()));
        QVERIFY(readFile(pdfFile).endsWith("%stand-in"));
        QVERIFY(writeFile(pdfFile, slides->bytes()));

        DocumentReader reader(AppState::instance().tempFolder);
        const QList<MainPage *> read = SessionReader::read(folder, &reader);
        compareWithWritten(read);
        QCOMPARE(read.first()->objects.size(), 2);
        qDeleteAll(read);

        // Its pages gone, the PDF goes too.
        qDeleteAll(pages);
        pages = { new MainPage(QSize(100, 100), false) };
        QVERIFY(writer.write(snapshot()));
        QVERIFY(!QFileInfo::exists(pdfFile));
    }
};

QTEST_MAIN(TestPdfDocument)
#include "test_pdfdocument.moc"
