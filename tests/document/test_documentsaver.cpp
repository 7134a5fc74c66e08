#include "pixels.h"
#include "testenvironment.h"

#include "app/appstate.h"
#include "document/document.h"
#include "document/documentreader.h"
#include "document/documentsaver.h"
#include "document/documentsnapshot.h"
#include "document/documentwriter.h"
#include "document/mainpage.h"
#include "document/objselect.h"

#include <QtTest>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>

#include <memory>
#include <optional>

namespace {

using Entries = QList<QPair<QString, QByteArray>>;

// Every entry of the archive, in its order, with its bytes.
Entries entriesOf(const QString &file)
{
    Entries entries;
    QuaZip zip(file);
    if (!zip.open(QuaZip::mdUnzip))
        return entries;
    for (bool more = zip.goToFirstFile(); more; more = zip.goToNextFile()) {
        QuaZipFile entry(&zip);
        entry.open(QIODevice::ReadOnly);
        entries.append({ zip.getCurrentFileName(), entry.readAll() });
    }
    return entries;
}

ObjSelect *movedPiece(int shade)
{
    auto *s = new ObjSelect;
    s->path.addRect(QRectF(10, 10, 30, 20));
    s->rect = QRectF(100, 100, 30, 20);
    auto *pixels = new QImage(30, 20, QImage::Format_ARGB32_Premultiplied);
    pixels->fill(QColor(shade, 40, 200, 180));
    s->setImage(pixels);
    return s;
}

// A page with a picture background, `strokes` strokes and a moved piece.
MainPage *page(int strokes, int shade)
{
    auto *p = new MainPage(QSize(200, 150), false);
    QImage picture(200, 150, QImage::Format_RGB32);
    picture.fill(QColor(shade, 120, 60));
    picture.save(MainPage::backgroundFile(p->id));
    p->background = MainPage::PictureBackground;
    for (int i = 0; i < strokes; ++i)
        p->appendObjects({ Pixels::line(QPointF(5, 5 + 7 * i), QPointF(190, 9 + 7 * i), 3) },
                         false);
    p->appendObjects({ movedPiece(shade) }, false);
    return p;
}

// A change as the history makes one: the page's objects and revision move on.
void draw(MainPage *p)
{
    p->appendObjects({ Pixels::line(QPointF(20, 140), QPointF(180, 20), 5, Qt::blue) }, false);
    ++p->revision;
    p->modified = true;
}

void undo(MainPage *p)
{
    p->objects.removeLast();
    ++p->revision;
    p->modified = true;
}

} // namespace

// Saving keeps each page's encoded part while the page stays as it was and
// writes on a worker, one file at a time.
class TestDocumentSaver : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;

    QString path(const char *name) const { return env->path(QLatin1String(name)); }

    // Saves and waits for the end; whether the file was written, and why not.
    static bool saved(DocumentSaver &saver, const QString &target, QString *error = nullptr)
    {
        std::optional<bool> written;
        saver.save(target, [&](bool bWritten, const QString &strError) {
            written = bWritten;
            if (error)
                *error = strError;
        });
        return QTest::qWaitFor([&] { return written.has_value(); }) && *written;
    }

    static int objectsIn(const QString &file)
    {
        DocumentReader reader;
        const QList<MainPage *> pages = reader.read(file);
        int objects = 0;
        for (const MainPage *p : pages)
            objects += int(p->objects.size());
        qDeleteAll(pages);
        return objects;
    }

private Q_SLOTS:
    void init()
    {
        env = std::make_unique<TestEnvironment>();
        AppState::instance().tempFolder = env->path(QStringLiteral("temp/"));
        QVERIFY(QDir().mkpath(AppState::instance().tempFolder));
    }

    void cleanup() { env.reset(); }

    // A writer that kept the pages' parts writes what a fresh one writes,
    // entry for entry, after edits, an undo, a moved page, a deleted first
    // page (the others' pictures are numbered anew) and an added page.
    void keptPartsWriteWhatAFreshWriterWrites()
    {
        QList<MainPage *> pages { page(3, 10), page(1, 90), page(4, 170) };
        DocumentWriter kept;
        auto same = [&](const char *step) {
            const DocumentSnapshot snapshot = DocumentSnapshot::take(pages, 4);
            if (!kept.write(snapshot, path("kept.tavelmark"), DocumentWriter::Embedded)
                || !DocumentWriter().write(snapshot, path("fresh.tavelmark"),
                                           DocumentWriter::Embedded))
                return false;
            const Entries written = entriesOf(path("kept.tavelmark"));
            QList<DocumentWriter::Entry> pictures;
            const QByteArray manifest
                = DocumentWriter::manifest(snapshot, DocumentWriter::Embedded, &pictures);
            const bool equal = written == entriesOf(path("fresh.tavelmark"))
                && written.value(0).second == manifest && written.size() == pictures.size() + 1;
            if (!equal)
                qWarning() << "differs after" << step;
            return equal;
        };
        QVERIFY(same("the first save"));
        QVERIFY(same("nothing changed"));
        draw(pages[1]);
        QVERIFY(same("a stroke"));
        undo(pages[1]);
        QVERIFY(same("an undo"));
        pages.move(2, 0);
        QVERIFY(same("a moved page"));
        std::unique_ptr<MainPage> gone(pages.takeFirst());
        QVERIFY(same("a deleted first page"));
        pages.append(page(2, 250));
        draw(pages[0]);
        QVERIFY(same("an added page"));
        QCOMPARE(objectsIn(path("kept.tavelmark")), 5 + 2 + 3);
        qDeleteAll(pages);
    }

    // A byte flipped in a stored picture fails the read-back; the file as
    // written passes it.
    void flippedPictureByteFailsTheReadBack()
    {
        std::unique_ptr<MainPage> p(page(2, 60));
        const QString file = path("flipped.tavelmark");
        QVERIFY(DocumentWriter().write(DocumentSnapshot::take({ p.get() }, 1), file,
                                       DocumentWriter::Embedded));
        QStringList names;
        for (const auto &entry : entriesOf(file))
            names.append(entry.first);
        QVERIFY(DocumentWriter::readsBack(file, names));
        QByteArray bytes = readFile(file);
        const qsizetype picture = bytes.indexOf("\x89PNG");
        QVERIFY(picture > 0);
        bytes[picture + 40] = char(bytes.at(picture + 40) ^ 0x10);
        QVERIFY(writeFile(file, bytes));
        QVERIFY(!DocumentWriter::readsBack(file, names));
    }

    // A save asked while one is written waits for it and writes the pages
    // as they are by then; a page changed meanwhile stays modified until
    // that second save.
    void secondSaveWaitsAndTheNewestLands()
    {
        Document document;
        document.addPages({ page(3, 10), page(2, 80) });
        DocumentSaver saver(&document);
        const QString file = path("lesson.tavelmark");
        QList<int> ends;
        int objectsAtFirstEnd = 0;
        bool modifiedAtFirstEnd = false;
        saver.save(file, [&](bool bWritten, const QString &) {
            ends.append(bWritten ? 1 : -1);
            objectsAtFirstEnd = objectsIn(file);
            modifiedAtFirstEnd = document.isModified();
        });
        draw(document.pageList().at(1));
        QVERIFY(saver.isBusy());
        saver.save(file, [&](bool bWritten, const QString &) { ends.append(bWritten ? 2 : -2); });
        QTRY_COMPARE(ends, (QList<int> { 1, 2 }));
        QCOMPARE(objectsAtFirstEnd, 4 + 3);
        QVERIFY(modifiedAtFirstEnd);
        QCOMPARE(objectsIn(file), 4 + 3 + 1);
        QVERIFY(!document.isModified());
        QVERIFY(!saver.isBusy());
    }

    // A failed save is told with its reason and leaves the pages modified.
    void failedSaveKeepsTheDocumentModified()
    {
        Document document;
        document.addPages({ page(1, 10) });
        DocumentSaver saver(&document);
        QString error;
        QVERIFY(!saved(saver, path("no-such-folder/lesson.tavelmark"), &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(document.isModified());
        QVERIFY(saved(saver, path("lesson.tavelmark")));
        QVERIFY(!document.isModified());
    }

    // While held (an opened document still coming in), a save waits and then
    // writes every page that came in meanwhile.
    void heldSaveWritesThePagesThatCameIn()
    {
        Document document;
        document.addPages({ page(1, 10) });
        DocumentSaver saver(&document);
        saver.setHeld(true);
        std::optional<bool> written;
        saver.save(path("held.tavelmark"),
                   [&](bool bWritten, const QString &) { written = bWritten; });
        document.addPages({ page(2, 30) });
        QVERIFY(saver.isBusy());
        QVERIFY(!written);
        saver.setHeld(false);
        QTRY_VERIFY(written.has_value());
        QVERIFY(*written);
        QCOMPARE(objectsIn(path("held.tavelmark")), 2 + 3);
    }
};

QTEST_GUILESS_MAIN(TestDocumentSaver)
#include "test_documentsaver.moc"
