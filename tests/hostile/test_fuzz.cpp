#include "app/appstate.h"
#include "app/inicodec.h"
#include "app/lang.h"
#include "app/settingentry.h"
#include "dialogs/virtualkeytable.h"
#include "document/documentreader.h"
#include "document/documentsnapshot.h"
#include "document/documentwriter.h"
#include "document/mainpage.h"
#include "document/objectrecord.h"
#include "document/objline.h"
#include "document/objshape.h"
#include "document/objstroke.h"
#include "document/objtext.h"
#include "document/pdfmodule.h"
#include "document/pdfsource.h"
#include "document/safeimagereader.h"
#include "document/svgcheck.h"
#include "document/textcheck.h"
#include "slidepdf.h"
#include "update/updatedescription.h"
#include "zippedbytes.h"

#include <QBuffer>
#include <QFile>
#include <QPainter>
#include <QRandomGenerator>
#include <QResource>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>
#include <QtEndian>
#include <QtTest>

#include <functional>
#include <memory>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>

namespace {

// Each parser is fed a fixed number of inputs, about a second's worth on a
// loaded machine, so that every run tries the same inputs; TAV_FUZZ_SCALE
// multiplies them for a longer run.
int scaled(int inputs)
{
    const int scale = qEnvironmentVariableIntValue("TAV_FUZZ_SCALE");
    return inputs * qMax(scale, 1);
}

// Mutates inputs from a corpus that grows with what it produces: bit flips,
// random bytes, tokens of the format, cuts, repeats and splices.
class Mutator
{
public:
    Mutator(QList<QByteArray> seeds, QList<QByteArray> formatTokens, quint32 seed)
        : corpus(std::move(seeds))
        , tokens(std::move(formatTokens))
        , random(seed)
    {
    }

    QByteArray next()
    {
        QByteArray data = corpus.at(random.bounded(int(corpus.size())));
        for (int n = 1 + random.bounded(4); n > 0; --n)
            mutate(data);
        data.truncate(MaxInput);
        if (random.bounded(8) == 0)
            corpus.append(data);
        if (corpus.size() > MaxCorpus)
            corpus.remove(random.bounded(MaxCorpus));
        return data;
    }

private:
    static constexpr int MaxInput = 64 * 1024;
    static constexpr int MaxCorpus = 256;

    int at(const QByteArray &data) { return random.bounded(int(data.size()) + 1); }

    void mutate(QByteArray &data)
    {
        const int size = int(data.size());
        switch (random.bounded(6)) {
        case 0:
            if (size > 0)
                data[random.bounded(size)] ^= char(1 << random.bounded(8));
            break;
        case 1:
            if (size > 0)
                data[random.bounded(size)] = char(random.bounded(256));
            break;
        case 2:
            data.insert(at(data), tokens.at(random.bounded(int(tokens.size()))));
            break;
        case 3:
            if (size > 0)
                data.remove(random.bounded(size), 1 + random.bounded(16));
            break;
        case 4: {
            const int from = at(data);
            data.insert(at(data), data.mid(from, 1 + random.bounded(64)));
            break;
        }
        default: {
            const QByteArray &other = corpus.at(random.bounded(int(corpus.size())));
            data = data.left(at(data)) + other.mid(random.bounded(int(other.size()) + 1));
            break;
        }
        }
    }

    QList<QByteArray> corpus;
    QList<QByteArray> tokens;
    QRandomGenerator random;
};

// Feeds one parser; `check` returns an empty string or the property an
// input broke.
int feed(Mutator &mutator, int inputs, const std::function<QString(const QByteArray &)> &check)
{
    const int runs = scaled(inputs);
    for (int i = 0; i < runs; ++i) {
        const QByteArray input = mutator.next();
        const QString broken = check(input);
        if (!broken.isEmpty()) {
            qWarning().noquote() << broken << "for input (base64):" << input.toBase64();
            return -1;
        }
    }
    return runs;
}

void append16(QByteArray &out, quint16 v)
{
    out.append(char(v >> 8)).append(char(v));
}

void append32(QByteArray &out, quint32 v)
{
    append16(out, quint16(v >> 16));
    append16(out, quint16(v));
}

quint32 resourceHash(const QString &name)
{
    quint32 h = 0;
    for (const QChar c : name) {
        h = (h << 4) + c.unicode();
        h ^= (h & 0xf0000000) >> 23;
        h &= 0x0fffffff;
    }
    return h;
}

// A compiled resource holding one file, so that the language lookup reads
// each input as it reads its real tables.
QByteArray resourceWith(const QString &name, const QByteArray &content)
{
    QByteArray names;
    append16(names, quint16(name.size()));
    append32(names, resourceHash(name));
    for (const QChar c : name)
        append16(names, c.unicode());
    QByteArray tree;
    append32(tree, 0); // the root folder, holding node 1
    append16(tree, 2);
    append32(tree, 1);
    append32(tree, 1);
    append32(tree, 0); // the file, for any territory in the C locale
    append16(tree, 0);
    append16(tree, 0);
    append16(tree, 1);
    append32(tree, 0);
    QByteArray data;
    append32(data, quint32(content.size()));
    data += content;
    const quint32 header = 20;
    QByteArray out("qres");
    append32(out, 1);
    append32(out, header);
    append32(out, header + quint32(tree.size()));
    append32(out, header + quint32(tree.size() + data.size()));
    return out + tree + data + names;
}

QByteArray resourceFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A small sound document: a stroke, a line, a shape and a text on a page
// with a picture background.
QByteArray seedDocument(const QString &folder)
{
    MainPage page(QSize(64, 48), false);
    QImage backdrop(64, 48, QImage::Format_RGB32);
    backdrop.fill(Qt::cyan);
    backdrop.save(MainPage::backgroundFile(page.id));
    page.background = MainPage::PictureBackground;
    auto *stroke = new ObjStroke;
    stroke->strokeKind = ObjStroke::Brush;
    stroke->path.moveTo(1, 1);
    stroke->path.lineTo(2, 2);
    stroke->path.cubicTo(10, 3, 20, 30, 40, 40);
    stroke->pressures = { 0.5f, 0.7f };
    auto *line = new ObjLine;
    line->line = QLineF(0, 0, 30, 20);
    line->endCap = ObjLine::FilledArrow;
    auto *shape = new ObjShape;
    shape->rect = QRectF(5, 5, 20, 10);
    auto *text = new ObjText;
    text->setDocument(new QTextDocument(QStringLiteral("hi")));
    page.appendObjects({ stroke, line, shape, text }, false);
    const QString path = folder + QStringLiteral("/seed.tavelmark");
    DocumentWriter().write(DocumentSnapshot::take({ &page }, 3), path, DocumentWriter::Embedded);
    return resourceFile(path);
}

QList<QPair<QString, QByteArray>> unzipped(const QByteArray &document)
{
    QByteArray copy = document;
    QBuffer buffer(&copy);
    QuaZip zip(&buffer);
    QList<QPair<QString, QByteArray>> entries;
    zip.open(QuaZip::mdUnzip);
    for (bool more = zip.goToFirstFile(); more; more = zip.goToNextFile()) {
        QuaZipFile entry(&zip);
        entry.open(QIODevice::ReadOnly);
        entries.append({ zip.getCurrentFileName(), entry.readAll() });
    }
    return entries;
}

QByteArray encodedPicture(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

void appendLittle16(QByteArray &out, quint16 v)
{
    out.append(char(v)).append(char(v >> 8));
}

// One pixel on a logical screen of the given size.
QByteArray gifOnScreen(int width, int height)
{
    QByteArray out("GIF89a");
    appendLittle16(out, quint16(width));
    appendLittle16(out, quint16(height));
    out += QByteArray::fromHex("800000000000ffffff2c0000000001000100000202440100") + ";";
    return out;
}

// An icon file whose one entry says 16 x 16 and holds `inner`.
QByteArray iconHolding(const QByteArray &inner)
{
    QByteArray out = QByteArray::fromHex("0000010001001010000001002000");
    appendLittle16(out, quint16(inner.size()));
    appendLittle16(out, quint16(inner.size() >> 16));
    appendLittle16(out, 22);
    appendLittle16(out, 0);
    return out + inner;
}

QByteArray appleIconHolding(const QByteArray &inner)
{
    QByteArray out("icns");
    append32(out, quint32(inner.size() + 16));
    out += "ic07";
    append32(out, quint32(inner.size() + 8));
    return out + inner;
}

// Opens a document from bytes and paints what opened: nothing may crash,
// and what opens holds no more than the limits allow.
QString openDocument(const QString &path, const QByteArray &input)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(input) != input.size())
        return QStringLiteral("cannot write the input");
    file.close();
    DocumentReader reader;
    const QList<MainPage *> pages = reader.read(path);
    QString broken;
    if (pages.size() > DocumentReader::MaxPages)
        broken = QStringLiteral("too many pages");
    if (pages.isEmpty() && reader.error().isEmpty())
        broken = QStringLiteral("nothing opened and no reason given");
    for (MainPage *page : pages) {
        if (page->background == MainPage::PdfBackground
            && !(page->pdf && page->pdfPage >= 0 && page->pdfPage < page->pdf->pageCount()))
            broken = QStringLiteral("a PDF page without its PDF page");
        QImage layer(page->pixelSize.boundedTo(QSize(256, 256)),
                     QImage::Format_ARGB32_Premultiplied);
        page->renderLayer(&layer, QRect());
        QPainter painter(&layer);
        page->paint(&painter, true, QRect());
    }
    qDeleteAll(pages);
    return broken;
}

// Whatever a file holds reads as a value the program would write itself:
// one the next start takes as clean, never text out of bounds. Empty, or
// the key that broke it.
QString repairedBadly(const IniCodec::Result &file)
{
    for (const SettingEntry &entry : SettingEntry::table()) {
        const QVariant stored = file.values.value(entry.group + QLatin1Char('/') + entry.key);
        const QString text = stored.metaType().id() == QMetaType::QStringList
            ? stored.toStringList().join(QLatin1Char(','))
            : stored.toString();
        AppState state = AppState::defaults();
        entry.read(state, text);
        if (!entry.accepts(entry.write(state)))
            return QStringLiteral("%1 read as a value that is not valid").arg(entry.key);
        // Free text is held to bounds too: a language the program has, a
        // font family of a name's length without empty places in its list.
        if (!Lang::knownCodes().contains(state.language) || state.draw.textFontFamily.size() > 100
            || state.uiFont.size() > 100
            || state.draw.textFontFamily.contains(QStringLiteral(",,")))
            return QStringLiteral("%1 read as text out of bounds").arg(entry.key);
    }
    return QString();
}

} // namespace

// Mutated inputs for every parser of outside data. Each must survive them and
// keep its promise about what it accepts.
class TestFuzz : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

    void report(const char *parser, int runs)
    {
        QVERIFY2(runs > 0, parser);
        qInfo("%s: %d inputs", parser, runs);
    }

private Q_SLOTS:
    // What reads back must write and read again to the same values.
    void settingsFile()
    {
        QSettings::SettingsMap values;
        for (const SettingEntry &entry : SettingEntry::table())
            values.insert(entry.group + QLatin1Char('/') + entry.key,
                          entry.write(AppState::defaults()));
        values.insert(QStringLiteral("Draw/Odd"), QStringLiteral(" \"a\", b; c\\\t"));
        Mutator mutator({ IniCodec::serialize(values), "[General]\nk=a, \"b\" ,c ; note\n",
                          "[%General]\nx%20y=\\x41\\101\\n@@v\n" },
                        { "\"", "\\", "=", ",", ";", "[", "]", "\n", "%U00e9", "%2", "\\x",
                          "@Variant(", "@@", "\r\n", "#" },
                        1);
        report("settings", feed(mutator, 4000, [](const QByteArray &input) {
                   const IniCodec::Result first = IniCodec::parse(input);
                   const IniCodec::Result again
                       = IniCodec::parse(IniCodec::serialize(first.values));
                   if (again.damaged || again.values != first.values)
                       return QStringLiteral("written values did not read back");
                   return repairedBadly(first);
               }));
    }

    // Whatever is accepted has a well-formed version and a file name that
    // stays in its folder.
    void updateDescription()
    {
        Mutator mutator(
            { "<?xml version=\"1.0\"?><mainDoc version=\"9.0.0\" filename=\"t_9.deb\">"
              "<title>T 9</title><item>A &lt;b&gt; fix</item><date>2026</date></mainDoc>",
              "<mainDoc version=\"1.2.3.4\"/>" },
            { "<", ">", "\"", "&", "&lt;", "../", "/", ".", "<!DOCTYPE a [<!ENTITY e \"x\">]>",
              "&e;", "filename=\"", "version=\"", "<![CDATA[", "]]>" },
            2);
        report("update description", feed(mutator, 120000, [](const QByteArray &input) {
                   const UpdateDescription d = UpdateDescription::parse(input);
                   if (d.problem != UpdateDescription::None)
                       return QString();
                   if (!UpdateDescription::isWellFormedVersion(d.version))
                       return QStringLiteral("accepted version %1").arg(d.version);
                   if (!d.fileName.isEmpty() && !UpdateDescription::isSafeFileName(d.fileName))
                       return QStringLiteral("accepted file name %1").arg(d.fileName);
                   return QString();
               }));
    }

    void languageTable()
    {
        const QString name = QStringLiteral("xx_FUZZ.xml");
        AppState::instance().language = QStringLiteral("xx_FUZZ");
        const auto lookup = [&](const QByteArray &table, const QString &strText) {
            const QByteArray rcc = resourceWith(name, table);
            const auto *bytes = reinterpret_cast<const uchar *>(rcc.constData());
            QResource::registerResource(bytes, QStringLiteral("/Language"));
            const QString result = Lang::tr("MessageBox", strText);
            Lang::release();
            QResource::unregisterResource(bytes, QStringLiteral("/Language"));
            return result;
        };
        const QByteArray seed = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Language>"
                                "<MessageBox><String name=\"Open\">\xc3\x96"
                                "ffnen</String>"
                                "<String name=\"Save\">Sichern</String></MessageBox></Language>";
        // The lookup really reads the table it is given.
        QCOMPARE(lookup(seed, QStringLiteral("Open")), QStringLiteral("Öffnen"));
        Mutator mutator({ seed, resourceFile(QStringLiteral(":/Language/Language.xml")) },
                        { "<", ">", "</String>", "<String name=\"Open\">", "&amp;", "&#0;",
                          "<!DOCTYPE x [<!ENTITY a \"aaaa\">]>", "&a;", "\xff", "\"" },
                        3);
        report("language table", feed(mutator, 60000, [&](const QByteArray &input) {
                   lookup(input, QStringLiteral("Open"));
                   return QString();
               }));
        AppState::reset();
    }

    // Only key codes are listed, each with its text.
    void keyTable()
    {
        const QString path = dir.filePath(QStringLiteral("keys.txt"));
        Mutator mutator({ resourceFile(VirtualKeyTable::defaultPath()), "A,0x41,A\n; note\n" },
                        { ",", "0x", "\n", ";", "FF", "0", "-1", "\xef\xbb\xbf", "\r" }, 4);
        report("key table", feed(mutator, 300, [&](const QByteArray &input) {
                   QFile file(path);
                   if (!file.open(QIODevice::WriteOnly) || file.write(input) != input.size())
                       return QStringLiteral("cannot write the input");
                   file.close();
                   const VirtualKeyTable table(path);
                   if (table.codes().size() != table.texts().size())
                       return QStringLiteral("codes and texts differ in number");
                   for (int code : table.codes())
                       if (code <= 0 || code >= 0xFF)
                           return QStringLiteral("listed code %1").arg(code);
                   return QString();
               }));
    }

    // The document reader, fed mutated manifests in a sound archive and
    // mutated archives as they are.
    void documentReader()
    {
        AppState::instance().tempFolder = dir.filePath(QStringLiteral("temp/"));
        QDir().mkpath(AppState::instance().tempFolder);
        const QByteArray seed = seedDocument(dir.path());
        const QList<QPair<QString, QByteArray>> entries = unzipped(seed);
        QVERIFY(entries.size() == 2);
        const QString path = dir.filePath(QStringLiteral("fuzz.tavelmark"));
        Mutator manifests({ entries.at(0).second },
                          { "{",
                            "}",
                            "[",
                            "]",
                            ",",
                            "\"",
                            "-1",
                            "1e308",
                            "0",
                            "1e9",
                            "null",
                            "\"kind\":\"svg\"",
                            "\"picture\":\"../x.png\"",
                            "\"version\":[2,0]",
                            "\"version\":[1,7]",
                            "\"strokeKind\":3",
                            "\"shapeType\":99",
                            "\"path\":[0,1,1,2,2,2,3,3,3,3,4,4]",
                            "\"pressures\":[2]",
                            "<img src=\\\"/etc/hostname\\\">",
                            "<table><tr><td>",
                            "<ul><li>" },
                          6);
        report("document manifest", feed(manifests, 250, [&](const QByteArray &input) {
                   return openDocument(path,
                                       zipped({ { entries.at(0).first, input }, entries.at(1) }));
               }));
        Mutator archives(
            { seed }, { "PK", "\x03\x04", "\x01\x02", "\x05\x06", "\xff\xff\xff\xff", "..", "/" },
            7);
        report("document archive", feed(archives, 250, [&](const QByteArray &input) {
                   return openDocument(path, input);
               }));
        QDir(AppState::instance().tempFolder).removeRecursively();
        AppState::reset();
    }

    // The markup of a text object: what builds holds no more than the tool
    // makes, and lays out and paints.
    void textObject()
    {
        QTextDocument own;
        QTextCursor cursor(&own);
        QTextCharFormat bold;
        bold.setFontWeight(QFont::Bold);
        bold.setForeground(Qt::red);
        cursor.insertText(QStringLiteral("Bold "), bold);
        cursor.insertText(QStringLiteral("plain\nnext\u2028line"), QTextCharFormat());
        // Mostly what passes the scan, so that inputs reach the layout.
        Mutator mutator({ own.toHtml().toUtf8(), "<p>x</p>", "<p>a<span>b</span><br>c</p>" },
                        { "<p>", "</p>", "<br>", "<span>", "</span>", "<p align=\"right\">",
                          "<span style=\"font-size:99999pt\">", "<span style=\"font-size:9pt\">",
                          "<span style=\"letter-spacing:9999px\">", "x", "&lt;", "\t", " ",
                          "\xe2\x80\xa8", "\xd7\x90", "<table><tr><td>", "<ul><li>",
                          "<img src=\"x.png\">" },
                        8);
        ObjectRecord record;
        record.kind = KindText;
        record.font = QFont(QStringLiteral("Arial"), 24).toString();
        record.alignment = Qt::AlignLeft;
        record.textWidth = 100;
        record.margin = 4;
        QImage shown(64, 64, QImage::Format_ARGB32_Premultiplied);
        int built = 0;
        report("text object", feed(mutator, 200000, [&](const QByteArray &input) {
                   record.html = QString::fromUtf8(input);
                   const std::unique_ptr<Obj> obj(record.create(QString()));
                   if (!obj)
                       return QString();
                   ++built;
                   if (!TextCheck::isSimpleDocument(*static_cast<ObjText *>(obj.get())->document))
                       return QStringLiteral("built a text past the limits");
                   QPainter painter(&shown);
                   obj->paint(&painter);
                   return QString();
               }));
        // The inputs must reach the layout, not only the markup's scan.
        qInfo("text object: %d built", built);
        QVERIFY(built > 0);
    }

    // A picture the SVG check lets in decodes, as the renderer decodes it, to
    // no more than the check counted: mutated headers of every format the
    // reader knows, each wrapped in an SVG.
    void svgEmbeddedPictures()
    {
        constexpr qint64 Budget = 64LL * 1024 * 1024;
        QImage small(6, 4, QImage::Format_ARGB32);
        small.fill(QColor(200, 40, 40, 128));
        const QByteArray inPng = encodedPicture(small, "png");
        Mutator mutator(
            { gifOnScreen(3000, 2000), gifOnScreen(0, 0), inPng, encodedPicture(small, "bmp"),
              encodedPicture(small, "jpeg"), iconHolding(inPng), appleIconHolding(inPng) },
            { "GIF89a", "\x89PNG\r\n\x1a\n", "IHDR", "icns", "ic07", QByteArray("\0\0\1\0", 4),
              "BM", "\xff\xd8\xff\xc0", ",", "!", "\xb8\x0b", "\x00\x10", "\xff\xff" },
            8);
        report("SVG embedded pictures", feed(mutator, 15000, [](const QByteArray &picture) {
                   const QByteArray svg
                       = "<svg xmlns=\"http://www.w3.org/2000/svg\" "
                         "xmlns:xlink=\"http://www.w3.org/1999/xlink\" width=\"8\" "
                         "height=\"8\"><image width=\"8\" height=\"8\" "
                         "xlink:href=\"data:image/png;base64,"
                       + picture.toBase64() + "\"/></svg>";
                   const SvgCheck check = SvgCheck::check(svg, Budget);
                   if (check.verdict != SvgCheck::Sound)
                       return QString();
                   const QImage decoded = QImage::fromData(picture);
                   const qint64 bytes = qint64(decoded.width()) * decoded.height() * 4;
                   if (bytes > check.embeddedBytes)
                       return QStringLiteral("decoded %1 bytes, counted %2")
                           .arg(bytes)
                           .arg(check.embeddedBytes);
                   return QString();
               }));
    }

    // The pages of a document's PDF show pages that PDF has.
    void pdfDocumentManifest()
    {
        AppState::instance().tempFolder = dir.filePath(QStringLiteral("temp/"));
        QDir().mkpath(AppState::instance().tempFolder);
        const std::shared_ptr<PdfSource> pdf
            = PdfSource::open(SlidePdf::coloured(2, QSizeF(200, 100)), QString());
        QVERIFY(pdf);
        QList<MainPage *> pages;
        for (int i = 0; i < 3; ++i) {
            pages.append(new MainPage(QSize(200, 100), false));
            pages.last()->background = i < 2 ? MainPage::PdfBackground : MainPage::ColourBackground;
            pages.last()->pdf = i < 2 ? pdf : nullptr;
            pages.last()->pdfPage = i < 2 ? 1 - i : -1;
        }
        const QString path = dir.filePath(QStringLiteral("pdf.tavelmark"));
        QVERIFY(DocumentWriter().write(DocumentSnapshot::take(pages, 1), path,
                                       DocumentWriter::Embedded));
        qDeleteAll(pages);
        QFile written(path);
        QVERIFY(written.open(QIODevice::ReadOnly));
        const QList<QPair<QString, QByteArray>> entries = unzipped(written.readAll());
        QCOMPARE(entries.size(), 2);
        Mutator manifests({ entries.at(0).second },
                          { "{",
                            "}",
                            "[",
                            "]",
                            ",",
                            "\"",
                            "-1",
                            "0",
                            "1",
                            "2",
                            "1.5",
                            "1e9",
                            "null",
                            "\"background\":\"pdf\"",
                            "\"pdfPage\":",
                            "\"pdf\":",
                            "\"pdfs\":[]",
                            "\"file\":",
                            "\"password\":\"x\"",
                            "\"" + entries.at(1).first.toUtf8() + "\"",
                            "\"version\":[2,0]",
                            "\"version\":[1,0]",
                            "\"version\":[2,9]" },
                          8);
        report("PDF document manifest", feed(manifests, 250, [&](const QByteArray &input) {
                   return openDocument(path,
                                       zipped({ { entries.at(0).first, input }, entries.at(1) }));
               }));
        QDir(AppState::instance().tempFolder).removeRecursively();
        AppState::reset();
    }

    // A PDF that opens keeps within the bounds, and its first page renders
    // within the box it is given.
    void pdfLoading()
    {
        Mutator mutator(
            { SlidePdf::coloured(1, QSizeF(200, 100)), SlidePdf::coloured(2, QSizeF(90, 160)) },
            { "obj",
              "endobj",
              " 0 R",
              "<<",
              ">>",
              "[",
              "]",
              "stream\n",
              "endstream",
              "/Length ",
              "/Kids [",
              "/Count 99999999 ",
              "/Type /Pages",
              "/MediaBox [0 0 1e30 1e30]",
              "/MediaBox [0 0 0 0]",
              "/Rotate 90",
              "/Filter /FlateDecode",
              "xref\n",
              "trailer",
              "startxref",
              "-1",
              "%%EOF",
              "/Encrypt " },
            6);
        report("PDF", feed(mutator, 500, [](const QByteArray &input) {
                   const std::shared_ptr<PdfSource> pdf = PdfSource::open(input, QString());
                   if (!pdf)
                       return QString();
                   if (pdf->pageCount() < 1 || pdf->pageCount() > PdfBounds::MaxPages)
                       return QStringLiteral("opened %1 pages").arg(pdf->pageCount());
                   const QSizeF size = pdf->pageSize(0);
                   if (!(size.width() >= PdfBounds::MinSide && size.height() >= PdfBounds::MinSide
                         && size.width() <= PdfBounds::MaxSide
                         && size.height() <= PdfBounds::MaxSide))
                       return QStringLiteral("opened a page of %1 x %2")
                           .arg(size.width())
                           .arg(size.height());
                   const QImage page = pdf->render(0, QSize(48, 48));
                   if (page.width() > 48 || page.height() > 48)
                       return QStringLiteral("rendered past its box");
                   return QString();
               }));
    }

    // A document the check lets through never makes the renderer show
    // another file: the magenta canary beside it never appears.
    void svgCheck()
    {
        QImage canary(8, 8, QImage::Format_RGB32);
        canary.fill(Qt::magenta);
        const QString canaryPath = dir.filePath(QStringLiteral("canary.png"));
        QVERIFY(canary.save(canaryPath));
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        QImage(4, 4, QImage::Format_RGB32).save(&buffer, "png");
        const QByteArray head = "<svg xmlns=\"http://www.w3.org/2000/svg\" "
                                "xmlns:xlink=\"http://www.w3.org/1999/xlink\" width=\"32\" "
                                "height=\"32\">";
        const QByteArray image = "<image width=\"32\" height=\"32\" xlink:href=\"";
        Mutator mutator(
            { head + image + canaryPath.toUtf8() + "\"/></svg>",
              head + image + "data:image/png;base64," + png.toBase64() + "\"/></svg>",
              "<?xml-stylesheet type=\"text/css\" href=\"" + canaryPath.toUtf8() + "\"?>" + head
                  + "<g><rect width=\"5\" height=\"5\" fill=\"blue\"/></g></svg>" },
            { "<image ", "xlink:href=\"", "href=\"", "data:", "base64,", canaryPath.toUtf8(),
              "file://", "<g>", "</g>", "<use xlink:href=\"#a\"/>", " id=\"a\"", "\"/>",
              "svg:", "<!DOCTYPE svg [<!ENTITY c \"" + canaryPath.toUtf8() + "\">]>", "&c;" },
            5);
        report("SVG check", feed(mutator, 150000, [](const QByteArray &input) {
                   if (SvgCheck::check(input, SafeImageReader::MaxImageBytes).verdict
                       != SvgCheck::Sound)
                       return QString();
                   QSvgRenderer renderer(input);
                   QImage shown(32, 32, QImage::Format_RGB32);
                   shown.fill(Qt::white);
                   QPainter painter(&shown);
                   renderer.render(&painter, QRectF(0, 0, 32, 32));
                   painter.end();
                   for (int y = 0; y < 32; ++y)
                       for (int x = 0; x < 32; ++x)
                           if (shown.pixel(x, y) == qRgb(255, 0, 255))
                               return QStringLiteral("another file was shown");
                   return QString();
               }));
    }
};

QTEST_MAIN(TestFuzz)
#include "test_fuzz.moc"
