#include "app/appstate.h"
#include "document/documentreader.h"
#include "document/drawinglimits.h"
#include "document/mainpage.h"
#include "document/objectcodec.h"
#include "document/objstroke.h"
#include "document/pagerenderer.h"
#include "document/textcheck.h"

#include <QBuffer>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>

namespace {

const char BadObjects[] = "Some drawings of the document could not be read and were left out.";
const char TooMuch[] = "A page of the document holds more drawing than Tavelmark opens; the rest "
                       "was left out.";

QJsonObject object(const char *kind)
{
    return { { "kind", kind },     { "rect", QJsonArray { 10, 10, 20, 20 } },
             { "angle", 0 },       { "centre", QJsonArray { 20, 20 } },
             { "width", 3 },       { "colour", "#ffff0000" },
             { "opacity", 100 },   { "shadow", 0 },
             { "resizable", true } };
}

QJsonObject shape()
{
    QJsonObject o = object("shape");
    o.insert("shapeType", 1);
    o.insert("penStyle", 1);
    o.insert("fill", "");
    return o;
}

// A pen stroke of `elements` path elements, zigzagging over the page.
QJsonObject stroke(int elements, int width = 3)
{
    QJsonArray path { 0, 5, 5 };
    for (int i = 1; i < elements; ++i) {
        path.append(1);
        path.append(5 + i % 300);
        path.append(5 + (i / 300) % 200);
    }
    QJsonObject o = object("stroke");
    o.insert("strokeKind", 1);
    o.insert("fillRule", 0);
    o.insert("path", path);
    o.insert("pressures", QJsonArray());
    o.insert("width", width);
    return o;
}

// A text of the most characters one text may hold.
QJsonObject fullText()
{
    QJsonObject o = object("text");
    o.insert("font", QFont(QStringLiteral("Arial"), 24).toString());
    o.insert("alignment", 1);
    o.insert("html", "<p>" + QString(TextCheck::MaxCharacters, QLatin1Char('a')) + "</p>");
    o.insert("textWidth", 100);
    o.insert("margin", 4);
    return o;
}

QJsonObject line(const QLineF &l)
{
    QJsonObject o = object("line");
    o.insert("line", QJsonArray { l.x1(), l.y1(), l.x2(), l.y2() });
    o.insert("startCap", 0);
    o.insert("endCap", 2);
    o.insert("penStyle", int(Qt::DashLine));
    return o;
}

QByteArray manifest(const QList<QJsonArray> &pages)
{
    QJsonArray list;
    for (const QJsonArray &objects : pages)
        list.append(QJsonObject { { "size", QJsonArray { 400, 300 } },
                                  { "pixelSize", QJsonArray { 400, 300 } },
                                  { "pixelRatio", 1 },
                                  { "background", "colour" },
                                  { "colour", "#ffffffff" },
                                  { "objects", objects } });
    return QJsonDocument(QJsonObject { { "format", "tavelmark" },
                                       { "version", QJsonArray { 1, 0 } },
                                       { "pages", list } })
        .toJson(QJsonDocument::Compact);
}

bool writeDocument(const QString &strPath, const QByteArray &json)
{
    QuaZip zip(strPath);
    if (!zip.open(QuaZip::mdCreate))
        return false;
    QuaZipFile entry(&zip);
    const bool written = entry.open(QIODevice::WriteOnly, QuaZipNewInfo("manifest.json"))
        && entry.write(json) == json.size();
    entry.close();
    zip.close();
    return written && zip.getZipError() == 0;
}

struct Opened
{
    QList<int> objects; // per page
    QStringList notes;
};

// Opens a document and paints every page as the canvas first shows it.
Opened open(const QString &strPath)
{
    DocumentReader reader;
    const QList<MainPage *> pages = reader.read(strPath);
    Opened out { {}, reader.notes() };
    for (MainPage *page : pages) {
        out.objects.append(int(page->objects.size()));
        PageRenderer::renderPage(PageRenderer::snapshot(page));
    }
    qDeleteAll(pages);
    return out;
}

} // namespace

// Documents made to crash or freeze the program that opens them: each must
// open what is sound in it and say what it left out.
class TestHostileDocuments : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

    QString path(const QString &strName) const { return dir.filePath(strName); }

private Q_SLOTS:
    void initTestCase()
    {
        AppState::instance().tempFolder = path(QStringLiteral("temp/"));
        QVERIFY(QDir().mkpath(AppState::instance().tempFolder));
    }

    // Tables 3,000 deep overflowed the layout's stack, 20 deep took it
    // seconds, and a 1 MB line took it long: such a text is left out, and
    // the stroke beside it opens.
    void textsOfOtherMakersAreLeftOut()
    {
        const QString folder = QStringLiteral(TAV_TEST_DATA "/hostile/");
        for (const char *name :
             { "nested-tables-3000", "nested-tables-20", "nested-lists-100", "long-paragraph" }) {
            const Opened out = open(folder + QLatin1String(name) + QStringLiteral(".tavelmark"));
            QVERIFY2(out.objects == QList<int> { 1 }, name);
            QVERIFY2(out.notes == QStringList { BadObjects }, name);
        }
    }

    // Past what a page or a document may hold, the drawing that came first
    // opens and the rest is left out, once said.
    void crowdedPagesKeepWhatCameFirst()
    {
        QJsonArray shapes;
        for (int i = 0; i < DrawingLimits::MaxPageObjects + 3; ++i)
            shapes.append(shape());
        const int strokes = DrawingLimits::MaxPagePoints / ObjectCodec::MaxPathElements;
        QJsonArray longStrokes;
        for (int i = 0; i <= strokes; ++i)
            longStrokes.append(stroke(ObjectCodec::MaxPathElements));
        const int texts = DrawingLimits::MaxPageCharacters / TextCheck::MaxCharacters;
        QJsonArray fullTexts;
        for (int i = 0; i <= texts; ++i)
            fullTexts.append(fullText());
        const QString file = path(QStringLiteral("crowded.tavelmark"));
        QVERIFY(writeDocument(file, manifest({ shapes, longStrokes, fullTexts, { shape() } })));
        const Opened out = open(file);
        QCOMPARE(out.objects, (QList<int> { DrawingLimits::MaxPageObjects, strokes, texts, 1 }));
        QCOMPARE(out.notes, QStringList { TooMuch });
    }

    // Values no tool makes drop their object: a stroke longer than one
    // hand draws, wider than the widest tool, a dashed line reaching far
    // past any page (it took seconds to draw). Lines that stay near, even
    // of no length, open.
    void valuesNoToolMakesDropTheirObject()
    {
        const double edge = 400 + DrawingLimits::MaxReach;
        const QString file = path(QStringLiteral("extreme.tavelmark"));
        QVERIFY(writeDocument(
            file,
            manifest({ { stroke(ObjectCodec::MaxPathElements + 1),
                         stroke(2, ObjectCodec::MaxWidth + 1), stroke(2, ObjectCodec::MaxWidth),
                         line(QLineF(-1e6, -1e6, 1e6, 1e6)), line(QLineF(0, 0, 400 + edge + 1, 10)),
                         line(QLineF(-edge, -edge, 400 + edge, 300 + edge)),
                         line(QLineF(50, 50, 50, 50)) } })));
        const Opened out = open(file);
        QCOMPARE(out.objects, QList<int> { 3 });
        QCOMPARE(out.notes, QStringList { BadObjects });
    }
};

QTEST_MAIN(TestHostileDocuments)
#include "test_hostiledocuments.moc"
