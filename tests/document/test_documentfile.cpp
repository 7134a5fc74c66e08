#include "loadedimage.h"
#include "pixels.h"
#include "smalldisk.h"
#include "testenvironment.h"

#include "app/appstate.h"
#include "document/documentreader.h"
#include "document/documentsnapshot.h"
#include "document/documentwriter.h"
#include "document/imagestatic.h"
#include "document/imagesvg.h"
#include "document/mainpage.h"
#include "document/objeraser.h"
#include "document/objline.h"
#include "document/objselect.h"
#include "document/objshape.h"
#include "document/objstroke.h"
#include "document/objtext.h"
#include "document/pagebuilder.h"
#include "document/pagerenderer.h"
#include "document/sessionreader.h"
#include "document/sessionwriter.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>
#include <QtTest>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>

#include <memory>
#include <thread>

#include <sys/stat.h>

#include <zlib.h>

namespace {

// The page as the canvas shows it: background, floating objects, layer.
QImage rendered(const MainPage *page)
{
    QImage out(page->pixelSize, QImage::Format_ARGB32_Premultiplied);
    out.setDevicePixelRatio(page->pixelRatio);
    out.fill(page->colour);
    QPainter p(&out);
    if (page->background == MainPage::PictureBackground)
        p.drawImage(QPointF(0, 0), QImage(MainPage::backgroundFile(page->id)));
    page->paint(&p, true, QRect());
    QImage layer(page->pixelSize, QImage::Format_ARGB32_Premultiplied);
    layer.setDevicePixelRatio(page->pixelRatio);
    layer.fill(Qt::transparent);
    page->renderLayer(&layer, QRect());
    p.drawImage(QPointF(0, 0), layer);
    return out;
}

ObjStroke *brush()
{
    auto *s = new ObjStroke;
    s->strokeKind = ObjStroke::Brush;
    s->width = 12;
    s->colour = Qt::darkGreen;
    s->path.moveTo(20, 200);
    s->path.lineTo(21, 200);
    for (int i = 1; i < 20; ++i) {
        s->path.lineTo(20 + 8 * i, 200 + (i % 3) * 4.25);
        s->pressures.append(float(i) / 20.0f);
    }
    return s;
}

ObjStroke *curvedHighlighter()
{
    auto *s
        = Pixels::line(QPointF(30, 30), QPointF(30, 30), 20, Qt::yellow, ObjStroke::Highlighter);
    s->path.cubicTo(QPointF(80, 10.3), QPointF(120, 90.7), QPointF(200.1, 40));
    return s;
}

ObjLine *arrow()
{
    auto *l = new ObjLine;
    l->line = QLineF(40, 260, 260.5, 280);
    l->startCap = ObjLine::Dot;
    l->endCap = ObjLine::FilledArrow;
    l->penStyle = Qt::DashLine;
    l->width = 6;
    l->shadow = 1;
    l->colour = QColor(255, 127, 39);
    return l;
}

ObjShape *star()
{
    auto *s = new ObjShape;
    s->shapeType = ObjShape::Star5;
    s->rect = QRectF(200, 100, 80, 70);
    s->fill = QColor(0, 0, 255, 128);
    s->width = 4;
    s->opacity = 70;
    return s;
}

ObjText *formattedText()
{
    auto *t = new ObjText;
    t->rect = QRectF(60, 60, 200, 80);
    auto *doc = new QTextDocument;
    doc->setDefaultFont(t->font);
    doc->setTextWidth(200);
    QTextCursor cursor(doc);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    bold.setForeground(Qt::red);
    cursor.insertText(QStringLiteral("Bold "), bold);
    cursor.insertText(QStringLiteral("plain"), QTextCharFormat());
    t->setDocument(doc);
    return t;
}

// Text as the text tool makes it: typed into an editor that never wraps,
// whose document therefore has the width 0.
ObjText *typedText(const QString &strText)
{
    auto *t = new ObjText;
    t->rect = QRectF(20, 120, 260, 50);
    auto *doc = new QTextDocument;
    doc->setDefaultFont(t->font);
    QTextOption noWrap = doc->defaultTextOption();
    noWrap.setWrapMode(QTextOption::NoWrap);
    doc->setDefaultTextOption(noWrap);
    doc->setTextWidth(0);
    doc->setPlainText(strText);
    t->setDocument(doc);
    return t;
}

// The rows of `image` that hold anything but `background`.
int inkedRows(const QImage &image, const QColor &background)
{
    int rows = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) != background) {
                ++rows;
                break;
            }
    return rows;
}

// A piece of the drawing moved elsewhere, with faint and half-transparent
// pixels that plain alpha would round differently.
ObjSelect *movedPiece()
{
    auto *s = new ObjSelect;
    s->path.addRect(QRectF(10, 140, 60, 40));
    s->rect = QRectF(200, 200, 60, 40);
    auto *pixels = new QImage(60, 40, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x)
            pixels->setPixel(x, y, qPremultiply(qRgba(x * 4, 200, y * 6, (x + y) * 2 + 1)));
    s->setImage(pixels);
    return s;
}

ObjEraser *eraser()
{
    auto *e = new ObjEraser;
    e->width = 30;
    e->appendSegment(QPointF(10, 200), QPointF(150, 210.5));
    return e;
}

} // namespace

class TestDocumentFile : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    QString png, svg;

    QString path(const char *name) const { return dir.filePath(QLatin1String(name)); }

    // A page with every kind of object, in an order where each covers some
    // of the one before.
    std::unique_ptr<MainPage> fullPage()
    {
        auto page = std::make_unique<MainPage>(QSize(300, 300), false);
        page->colour = QColor(250, 240, 230);
        page->appendObjects({ loadedImage<ImageStatic>(png, QRectF(100, 150, 50, 40), 30),
                              loadedImage<ImageSVG>(svg, QRectF(20, 20, 60, 60), -12.5f),
                              curvedHighlighter(), brush(),
                              Pixels::line(QPointF(10, 150), QPointF(290, 160), 5), eraser(),
                              movedPiece(), arrow(), star(), formattedText() },
                            false);
        return page;
    }

    QList<MainPage *> reopen(const QList<MainPage *> &pages, const QString &file,
                             QStringList *notes = nullptr)
    {
        DocumentWriter writer;
        const bool written
            = writer.write(DocumentSnapshot::take(pages, 7), file, DocumentWriter::Embedded);
        if (!written)
            qWarning() << writer.errorString();
        DocumentReader reader;
        const QList<MainPage *> read = reader.read(file);
        if (notes)
            *notes = reader.notes();
        return read;
    }

    // A document holding `manifest` and the named entries.
    QString craft(const char *name, const QByteArray &manifest,
                  const QList<QPair<QString, QByteArray>> &entries = {})
    {
        const QString file = path(name);
        QuaZip zip(file);
        if (!zip.open(QuaZip::mdCreate))
            return QString();
        auto add = [&](const QString &entryName, const QByteArray &data) {
            QuaZipFile entry(&zip);
            entry.open(QIODevice::WriteOnly, QuaZipNewInfo(entryName), nullptr, 0, Z_DEFLATED, 1);
            entry.write(data);
            entry.close();
        };
        add(QStringLiteral("manifest.json"), manifest);
        for (const auto &e : entries)
            add(e.first, e.second);
        zip.close();
        return file;
    }

    static QByteArray manifestWith(const QJsonObject &page, const QJsonArray &version = { 1, 0 })
    {
        QJsonObject root { { "format", "tavelmark" },
                           { "version", version },
                           { "pages", QJsonArray { page } } };
        return QJsonDocument(root).toJson();
    }

    static QJsonObject plainPage(const QJsonArray &objects = {})
    {
        return QJsonObject { { "size", QJsonArray { 100, 80 } },
                             { "pixelSize", QJsonArray { 100, 80 } },
                             { "pixelRatio", 1 },
                             { "background", "colour" },
                             { "colour", "#ffffffff" },
                             { "objects", objects } };
    }

    static QJsonObject strokeObject(const QJsonValue &width)
    {
        return QJsonObject { { "kind", "stroke" },
                             { "rect", QJsonArray { 0, 0, 0, 0 } },
                             { "angle", 0 },
                             { "centre", QJsonArray { 0, 0 } },
                             { "width", width },
                             { "colour", "#ff000000" },
                             { "opacity", 100 },
                             { "shadow", 0 },
                             { "strokeKind", 1 },
                             { "fillRule", 0 },
                             { "path", QJsonArray { 0, 10, 10, 1, 50, 50 } } };
    }

    struct Outcome
    {
        int pages = 0;
        int objects = 0;
        QString error;
        QStringList notes;
    };

    static Outcome open(const QString &file)
    {
        DocumentReader reader;
        const QList<MainPage *> pages = reader.read(file);
        Outcome out { int(pages.size()), 0, reader.error(), reader.notes() };
        for (MainPage *p : pages)
            out.objects += int(p->objects.size());
        qDeleteAll(pages);
        return out;
    }

    // What a load does: the reading on a worker, the pages made here.
    static Outcome openInPhases(const QString &file, QList<MainPage *> *pages)
    {
        DocumentReader reader;
        std::vector<PageParts> read;
        std::thread worker([&] {
            for (int i = 0; reader.open(file) && i < reader.pageCount(); ++i)
                read.push_back(reader.readPage(i));
        });
        worker.join();
        PageBuilder builder;
        for (PageParts &parts : read)
            if (MainPage *page = builder.build(parts))
                pages->append(page);
        Outcome out { int(pages->size()), 0, reader.error(), reader.notes() + builder.notes() };
        for (MainPage *p : std::as_const(*pages))
            out.objects += int(p->objects.size());
        return out;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        AppState::instance().tempFolder = dir.filePath(QStringLiteral("temp/"));
        QVERIFY(QDir().mkpath(AppState::instance().tempFolder));
        QImage picture(40, 30, QImage::Format_RGB32);
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 40; ++x)
                picture.setPixel(x, y, qRgb(x * 6, y * 8, 128));
        png = path("picture.png");
        QVERIFY(picture.save(png));
        svg = path("picture.svg");
        QVERIFY(writeFile(svg,
                          "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"30\" height=\"30\">"
                          "<circle cx=\"15\" cy=\"15\" r=\"12\" fill=\"purple\"/></svg>"));
    }

    // Every kind of object, a picture background, a scaled page and the
    // next stamp number come back as they were saved, to the pixel.
    void roundTripIsPixelIdentical()
    {
        std::unique_ptr<MainPage> full = fullPage();
        auto scaled = std::make_unique<MainPage>(QSize(120, 90), false);
        scaled->setPixels(QSize(240, 180), 2.0);
        QImage backdrop(240, 180, QImage::Format_RGB32);
        backdrop.fill(QColor(10, 80, 160));
        QVERIFY(backdrop.save(MainPage::backgroundFile(scaled->id)));
        scaled->background = MainPage::PictureBackground;
        scaled->appendObjects({ Pixels::line(QPointF(5, 5), QPointF(100, 80), 3, Qt::white) },
                              false);

        const QString file = path("lesson.tavelmark");
        DocumentWriter writer;
        QVERIFY2(writer.write(DocumentSnapshot::take({ full.get(), scaled.get() }, 7), file,
                              DocumentWriter::Embedded),
                 qPrintable(writer.errorString()));
        DocumentReader reader;
        const QList<MainPage *> read = reader.read(file);
        const std::unique_ptr<MainPage> first(read.value(0)), second(read.value(1));
        QCOMPARE(read.size(), 2);
        QVERIFY2(reader.notes().isEmpty(), qPrintable(reader.notes().join(' ')));
        QCOMPARE(reader.nextNumber(), 7);
        QCOMPARE(first->objects.size(), full->objects.size());
        for (int i = 0; i < full->objects.size(); ++i)
            QCOMPARE(first->objects.at(i)->kind, full->objects.at(i)->kind);
        QCOMPARE(rendered(first.get()), rendered(full.get()));
        QCOMPARE(second->pixelSize, QSize(240, 180));
        QCOMPARE(second->pixelRatio, 2.0);
        QCOMPARE(second->background, int(MainPage::PictureBackground));
        QCOMPARE(rendered(second.get()), rendered(scaled.get()));
        // The pictures are copies of their own: the originals may go.
        QVERIFY(static_cast<ImageStatic *>(first->objects.at(0))->path != png);
    }

    // Read on a worker and made into pages here, a document gives what
    // reading it at once gives: the same pages to the pixel, the same
    // objects, and the same notes of what was left out.
    void phasesOnAWorkerReadAsAWhole()
    {
        auto pictured = std::make_unique<MainPage>(QSize(120, 90), false);
        pictured->setPixels(QSize(240, 180), 2.0);
        QImage backdrop(240, 180, QImage::Format_RGB32);
        backdrop.fill(QColor(10, 80, 160));
        QVERIFY(backdrop.save(MainPage::backgroundFile(pictured->id)));
        pictured->background = MainPage::PictureBackground;
        std::unique_ptr<MainPage> full = fullPage();
        const QString whole = path("phases.tavelmark");
        DocumentWriter writer;
        QVERIFY(writer.write(DocumentSnapshot::take({ full.get(), pictured.get(), full.get() }, 3),
                             whole, DocumentWriter::Embedded));
        QList<MainPage *> inPhases;
        const Outcome phased = openInPhases(whole, &inPhases);
        DocumentReader reader;
        const QList<MainPage *> atOnce = reader.read(whole);
        QCOMPARE(phased.pages, 3);
        QCOMPARE(phased.pages, int(atOnce.size()));
        QCOMPARE(phased.notes, reader.notes());
        for (int i = 0; i < atOnce.size(); ++i) {
            QCOMPARE(inPhases.at(i)->objects.size(), atOnce.at(i)->objects.size());
            QCOMPARE(rendered(inPhases.at(i)), rendered(atOnce.at(i)));
        }
        qDeleteAll(inPhases);
        qDeleteAll(atOnce);

        // Bad pages, objects and pictures are told alike.
        const QString bad = craft(
            "phases-bad.tavelmark",
            QJsonDocument(
                QJsonObject { { "format", "tavelmark" },
                              { "version", QJsonArray { 1, 0 } },
                              { "pages",
                                QJsonArray { plainPage({ strokeObject(-4), strokeObject(3) }), 5,
                                             QStringLiteral("page"), plainPage() } } })
                .toJson());
        QList<MainPage *> badPhased;
        const Outcome badOutcome = openInPhases(bad, &badPhased);
        qDeleteAll(badPhased);
        const Outcome badAtOnce = open(bad);
        QCOMPARE(badOutcome.pages, badAtOnce.pages);
        QCOMPARE(badOutcome.objects, badAtOnce.objects);
        QCOMPARE(badOutcome.notes, badAtOnce.notes);
        QCOMPARE(badOutcome.notes.size(), 2);
    }

    // A document written by release 1.2.3 (every kind of object, typed text,
    // a picture background at ratio 2) opens as it was shown then.
    void releasedDocumentOpensAsShown()
    {
        const QString folder = QStringLiteral(TAV_TEST_DATA "/documents/");
        DocumentReader reader;
        const QList<MainPage *> pages = reader.read(folder + "lesson-1.2.3.tavelmark");
        QCOMPARE(pages.size(), 2);
        QVERIFY2(reader.notes().isEmpty(), qPrintable(reader.notes().join(' ')));
        QCOMPARE(reader.nextNumber(), 7);
        for (int i = 0; i < pages.size(); ++i) {
            QImage shown(folder + QStringLiteral("lesson-1.2.3-page%1.png").arg(i + 1));
            QImage opened = PageRenderer::renderPage(PageRenderer::snapshot(pages.at(i)))
                                .convertToFormat(shown.format());
            // A PNG keeps the pixels, not the ratio they were drawn at.
            opened.setDevicePixelRatio(1);
            QCOMPARE(opened, shown);
        }
        qDeleteAll(pages);
    }

    // Typed text keeps its one line in a saved document and in documents
    // written before its layout was kept (they hold the same record).
    void typedTextKeepsItsLines()
    {
        MainPage page(QSize(300, 300), false);
        page.colour = Qt::white;
        page.appendObjects({ typedText(QStringLiteral("Sharp Text 123")) }, false);
        const QImage shown = rendered(&page);
        const QList<MainPage *> read = reopen({ &page }, path("typed.tavelmark"));
        const std::unique_ptr<MainPage> back(read.value(0));
        QVERIFY(back);
        const QImage reopened = rendered(back.get());
        QCOMPARE(inkedRows(reopened, Qt::white), inkedRows(shown, Qt::white));
        const QFont font = static_cast<const ObjText *>(page.objects.first())->font;
        QVERIFY(inkedRows(shown, Qt::white) < 2 * QFontMetrics(font).height());
        QCOMPARE(reopened, shown);
    }

    // A session remembers where its pages were saved as a document; a
    // document from elsewhere cannot choose where the next Save writes.
    void onlySessionsNameTheirDocument()
    {
        MainPage page(QSize(100, 80), false);
        DocumentSnapshot snapshot = DocumentSnapshot::take({ &page }, 1);
        snapshot.documentPath = path("lesson.tavelmark");
        const QString file = path("named-session.tavelmark");
        DocumentWriter writer;
        QVERIFY(writer.write(snapshot, file, DocumentWriter::Referenced));
        DocumentReader session(dir.path());
        qDeleteAll(session.read(file));
        QCOMPARE(session.documentPath(), path("lesson.tavelmark"));
        DocumentReader document;
        qDeleteAll(document.read(file));
        QVERIFY(document.documentPath().isEmpty());
    }

    // A new document gets the mode a new file gets from the umask, a
    // replaced one keeps its own, and every entry can be read once unzipped.
    // (0x7077: the owner's, group's and others' bits, not the user's copy.)
    void savedFilesGetTheUsualMode()
    {
        MainPage page(QSize(100, 80), false);
        page.appendObjects({ loadedImage<ImageStatic>(png, QRectF(10, 10, 40, 30), 0) }, false);
        const QString file = path("mode.tavelmark");
        const mode_t before = ::umask(027);
        DocumentWriter writer;
        const bool written
            = writer.write(DocumentSnapshot::take({ &page }, 1), file, DocumentWriter::Embedded);
        ::umask(before);
        QVERIFY(written);
        QCOMPARE(QFile::permissions(file) & 0x7077,
                 QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
        const auto chosen = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther;
        QVERIFY(QFile::setPermissions(file, chosen));
        QVERIFY(writer.write(DocumentSnapshot::take({ &page }, 1), file, DocumentWriter::Embedded));
        QCOMPARE(QFile::permissions(file) & 0x7077, chosen);
        QuaZip zip(file);
        QVERIFY(zip.open(QuaZip::mdUnzip));
        const QList<QuaZipFileInfo64> entries = zip.getFileInfoList64();
        QCOMPARE(entries.size(), 2);
        for (const QuaZipFileInfo64 &entry : entries)
            QCOMPARE(entry.getPermissions() & 0x7077,
                     QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    }

    // The journal names the pictures of the temporary folder instead of
    // holding them, and reads back the same.
    void sessionNamesItsPictures()
    {
        std::unique_ptr<MainPage> full = fullPage();
        const QString file = path("session.tavelmark");
        DocumentWriter writer;
        QVERIFY(writer.write(DocumentSnapshot::take({ full.get() }, 1), file,
                             DocumentWriter::Referenced));
        QuaZip zip(file);
        QVERIFY(zip.open(QuaZip::mdUnzip));
        // Moved pieces live only in memory: they are the one picture held.
        QCOMPARE(zip.getFileNameList(), (QStringList { "manifest.json", "pictures/moved-1.png" }));
        zip.close();
        DocumentReader reader(dir.path());
        const QList<MainPage *> read = reader.read(file);
        const std::unique_ptr<MainPage> page(read.value(0));
        QCOMPARE(read.size(), 1);
        QCOMPARE(rendered(page.get()), rendered(full.get()));
    }

    // The session's folder holds the moved pieces of each page beside its
    // file, names the other pictures, and reads back the same; a page whose
    // file is gone is left out and said.
    void sessionFolderReadsBackTheSame()
    {
        std::unique_ptr<MainPage> first = fullPage();
        std::unique_ptr<MainPage> second = fullPage();
        const QString folder = path("session");
        SessionWriter writer(folder);
        QVERIFY(writer.write(DocumentSnapshot::take({ first.get(), second.get() }, 3)));
        QCOMPARE(QDir(folder).entryList({ QStringLiteral("*.png") }, QDir::Files).size(), 2);
        DocumentReader reader(dir.path());
        const QList<MainPage *> read = SessionReader::read(folder, &reader);
        QCOMPARE(read.size(), 2);
        QCOMPARE(rendered(read.at(0)), rendered(first.get()));
        QCOMPARE(rendered(read.at(1)), rendered(second.get()));
        QCOMPARE(reader.nextNumber(), 3);
        QCOMPARE(reader.notes(), QStringList());
        qDeleteAll(read);

        QFile index(QDir(folder).filePath(QLatin1String(SessionWriter::IndexName)));
        QVERIFY(index.open(QIODevice::ReadOnly));
        const QString firstFile
            = QJsonDocument::fromJson(index.readAll()).object().value("pages")[0].toString();
        QVERIFY(QFile::remove(QDir(folder).filePath(firstFile)));
        DocumentReader again(dir.path());
        const QList<MainPage *> rest = SessionReader::read(folder, &again);
        QCOMPARE(rest.size(), 1);
        QCOMPARE(rendered(rest.first()), rendered(second.get()));
        QCOMPARE(again.notes().size(), 1);
        QVERIFY(again.notes().first().contains(QStringLiteral("pages")));
        qDeleteAll(rest);
    }

    // A failed save leaves the old file whole, and says so.
    void failedWriteKeepsTheOldFile()
    {
        std::unique_ptr<MainPage> page = fullPage();
        const QString file = path("kept.tavelmark");
        QStringList notes;
        qDeleteAll(reopen({ page.get() }, file, &notes));
        const QByteArray before = readFile(file);
        QVERIFY(!before.isEmpty());
        // A picture that went missing fails the save before the rename.
        page->appendObjects({ loadedImage<ImageStatic>(png, QRectF(0, 0, 5, 5), 0) }, false);
        static_cast<ImageStatic *>(page->objects.last())->path = path("gone.png");
        DocumentWriter writer;
        QVERIFY(!writer.write(DocumentSnapshot::take({ page.get() }, 1), file,
                              DocumentWriter::Embedded));
        QVERIFY(!writer.errorString().isEmpty());
        QCOMPARE(readFile(file), before);
        QCOMPARE(QDir(dir.path()).entryList({ ".kept*" }, QDir::Files | QDir::Hidden).size(), 0);
        // A write-protected file is never replaced.
        QVERIFY(QFile::setPermissions(file, QFile::ReadOwner));
        QVERIFY(!writer.write(DocumentSnapshot::take({ page.get() }, 1), file,
                              DocumentWriter::Embedded));
        QVERIFY(QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner));
    }

    // A disk that fills during the save is told as such, not as a picture
    // that could not be read; the old file and no part file stay.
    void fullDiskIsToldAsSuch()
    {
        SmallDisk disk(path("small"));
        QImage noise(400, 300, QImage::Format_RGB32);
        QRandomGenerator random(5);
        for (int y = 0; y < noise.height(); ++y)
            for (int x = 0; x < noise.width(); ++x)
                noise.setPixel(x, y, random.generate());
        const QString big = path("noise.png");
        QVERIFY(noise.save(big));
        QVERIFY(QFileInfo(big).size() > qint64(256) * 1024);
        auto page = std::make_unique<MainPage>(QSize(400, 300), false);
        page->appendObjects({ loadedImage<ImageStatic>(big, QRectF(0, 0, 400, 300), 0) }, false);
        const QString file = disk.path + QStringLiteral("/full.tavelmark");
        QVERIFY(writeFile(file, "the old file"));
        DocumentWriter writer;
        disk.fill(true);
        const bool written = writer.write(DocumentSnapshot::take({ page.get() }, 1), file,
                                          DocumentWriter::Embedded);
        disk.fill(false);
        QVERIFY(!written);
        // A mounted disk is full; a size limit refuses the bytes alike.
        QVERIFY2(writer.errorString() == QStringLiteral("The disk is full.")
                     || writer.errorString().contains(QStringLiteral("the disk may be full")),
                 qPrintable(writer.errorString()));
        QCOMPARE(readFile(file), QByteArray("the old file"));
        QCOMPARE(QDir(disk.path).entryList(QDir::Files | QDir::Hidden),
                 QStringList { QStringLiteral("full.tavelmark") });
    }

    // The format's description names moved pieces "moved"; every release
    // writes an empty kind. Both read, and the empty kind is still written.
    void movedPiecesReadUnderEitherName()
    {
        auto page = std::make_unique<MainPage>(QSize(300, 300), false);
        page->appendObjects({ movedPiece() }, false);
        const QString file = path("moved.tavelmark");
        DocumentWriter writer;
        QVERIFY(writer.write(DocumentSnapshot::take({ page.get() }, 1), file,
                             DocumentWriter::Embedded));
        QuaZip zip(file);
        QVERIFY(zip.open(QuaZip::mdUnzip));
        QList<QPair<QString, QByteArray>> entries;
        for (const QString &name : zip.getFileNameList()) {
            zip.setCurrentFile(name);
            QuaZipFile entry(&zip);
            QVERIFY(entry.open(QIODevice::ReadOnly));
            entries.append({ name, entry.readAll() });
        }
        zip.close();
        QByteArray manifest = entries.takeFirst().second;
        QVERIFY(manifest.contains("\"kind\":\"\""));
        const Outcome empty = open(file);
        QCOMPARE(empty.objects, 1);
        manifest.replace("\"kind\":\"\"", "\"kind\":\"moved\"");
        const Outcome named = open(craft("named.tavelmark", manifest, entries));
        QCOMPARE(named.objects, 1);
        QVERIFY(named.notes.isEmpty());
        // No kind at all is no moved piece.
        manifest.replace("\"kind\":\"moved\",", "");
        QCOMPARE(open(craft("nameless.tavelmark", manifest, entries)).objects, 0);
    }

    // Names that climb out or are absolute are never followed, pictures
    // past the limits are left out, and the sound rest opens.
    void hostileEntriesAreLeftOut()
    {
        QImage bomb(1, 1, QImage::Format_RGB32);
        QByteArray pngBytes;
        QBuffer buffer(&pngBytes);
        buffer.open(QIODevice::WriteOnly);
        bomb.save(&buffer, "png");
        // The header claims 30000 x 30000 pixels.
        QByteArray claimed = pngBytes;
        claimed.replace(16, 8, QByteArray::fromHex("0000753000007530"));
        const quint32 crc
            = quint32(crc32(0, reinterpret_cast<const Bytef *>(claimed.constData() + 12), 17));
        claimed.replace(29, 4,
                        QByteArray::fromHex(QByteArray::number(crc, 16).rightJustified(8, '0')));
        auto withPicture = [](const QString &name) {
            QJsonObject page = plainPage();
            page.insert("background", "picture");
            page.insert("picture", name);
            return page;
        };
        const struct
        {
            const char *file;
            QJsonObject page;
            QList<QPair<QString, QByteArray>> entries;
        } cases[] = {
            { "climb.tavelmark",
              withPicture("../../outside.png"),
              { { "../../outside.png", pngBytes } } },
            { "absolute.tavelmark", withPicture("/tmp/abs.png"), { { "/tmp/abs.png", pngBytes } } },
            { "missing.tavelmark", withPicture("pictures/none.png"), {} },
            { "bomb.tavelmark", withPicture("p.png"), { { "p.png", claimed } } },
        };
        for (const auto &c : cases) {
            const Outcome out = open(craft(c.file, manifestWith(c.page), c.entries));
            QVERIFY2(out.pages == 1 && out.error.isEmpty(), c.file);
            QVERIFY2(out.notes.size() == 1, c.file);
        }
        QVERIFY(!QFile::exists(QDir(dir.path()).absoluteFilePath("../outside.png")));
        QVERIFY(!QFile::exists("/tmp/abs.png"));
    }

    // Values out of range, of the wrong type or of an unknown kind drop
    // their object; the others stay.
    void badValuesDropTheirObject()
    {
        QJsonObject unknown = strokeObject(5);
        unknown.insert("kind", "hologram");
        QJsonObject badPath = strokeObject(5);
        badPath.insert("path", QJsonArray { 1, 10, 10, 1, 50, 50 });
        QJsonObject nanAngle = strokeObject(5);
        nanAngle.insert("angle", "NaN");
        QJsonObject farAway = strokeObject(5);
        farAway.insert("rect", QJsonArray { 0, 0, 1e300, 1 });
        const QJsonArray objects { strokeObject(5),  strokeObject(1e9),
                                   strokeObject(-3), strokeObject("wide"),
                                   unknown,          badPath,
                                   nanAngle,         farAway };
        const Outcome out = open(craft("values.tavelmark", manifestWith(plainPage(objects))));
        QCOMPARE(out.pages, 1);
        QCOMPARE(out.objects, 1);
        QCOMPARE(out.notes.size(), 1);

        QJsonObject huge = plainPage();
        huge.insert("size", QJsonArray { 1000000000, 80 });
        QJsonObject negative = plainPage();
        negative.insert("pixelSize", QJsonArray { -100, 80 });
        QJsonObject root { { "format", "tavelmark" },
                           { "version", QJsonArray { 1, 0 } },
                           { "pages", QJsonArray { huge, negative, plainPage() } } };
        const Outcome pages = open(craft("pages.tavelmark", QJsonDocument(root).toJson()));
        QCOMPARE(pages.pages, 1);
        QCOMPARE(pages.notes.size(), 1);
    }

    // Whole files that cannot be a document are refused with a reason.
    void unreadableFilesAreRefused()
    {
        std::unique_ptr<MainPage> page = fullPage();
        const QString good = path("good.tavelmark");
        qDeleteAll(reopen({ page.get() }, good));
        const QByteArray bytes = readFile(good);
        QVERIFY(writeFile(path("cut.tavelmark"), bytes.left(bytes.size() / 2)));

        const QString files[] = {
            path("cut.tavelmark"),
            craft("major.tavelmark",
                  manifestWith(plainPage(), { DocumentWriter::PdfMajor + 1, 0 })),
            craft("garbage.tavelmark", "{ not json"),
            craft("empty.tavelmark",
                  QJsonDocument(
                      QJsonObject { { "format", "tavelmark" }, { "version", QJsonArray { 1, 0 } } })
                      .toJson()),
            path("absent.tavelmark"),
        };
        for (const QString &file : files) {
            const Outcome out = open(file);
            QVERIFY2(out.pages == 0 && !out.error.isEmpty(), qPrintable(file));
        }
        QVERIFY(open(files[1]).error.contains("another format"));
    }

    // A newer minor version opens with what is known and says so once; an
    // entry whose declared size passes the limit is refused unread.
    void newerMinorAndBombs()
    {
        QJsonObject extra = strokeObject(5);
        extra.insert("glow", 3);
        QJsonObject future = strokeObject(5);
        future.insert("kind", "hologram");
        QJsonObject page = plainPage({ extra, future, strokeObject(4) });
        page.insert("paper", "lined");
        const Outcome out = open(craft("newer.tavelmark", manifestWith(page, { 1, 9 })));
        QCOMPARE(out.pages, 1);
        QCOMPARE(out.objects, 2);
        QCOMPARE(out.notes.size(), 1);
        QVERIFY(out.notes.first().contains("newer"));

        QByteArray zeros(DocumentReader::MaxManifestBytes + 1, ' ');
        const Outcome bomb = open(craft("zipbomb.tavelmark", zeros));
        QCOMPARE(bomb.pages, 0);
        QVERIFY(bomb.error.contains("more than"));
    }
};

QTEST_MAIN(TestDocumentFile)
#include "test_documentfile.moc"
