#include "document/drawinglimits.h"
#include "document/objectrecord.h"
#include "document/objtext.h"
#include "document/textcheck.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QtTest>

namespace {

// Text as the text tool leaves it: one format, typed lines.
QTextDocument *typed(const QString &strText)
{
    auto *doc = new QTextDocument;
    QTextCursor cursor(doc);
    QTextCharFormat format;
    format.setFontPointSize(72);
    format.setForeground(Qt::red);
    format.setFontWeight(QFont::Bold);
    format.setFontItalic(true);
    format.setFontUnderline(true);
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    cursor.setBlockFormat(centred);
    cursor.insertText(strText, format);
    return doc;
}

QString wrapped(const QString &strBody)
{
    return QStringLiteral("<html><body>") + strBody + QStringLiteral("</body></html>");
}

} // namespace

// What the formatted text of a text object may hold, and how much drawing a
// document may bring in.
class TestTextCheck : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Only the elements the tool's own text is written with pass, wherever
    // another one hides; the tool's text passes whole.
    void markupOfOtherMakersIsRefused()
    {
        const std::unique_ptr<QTextDocument> own(
            typed(QStringLiteral("one < two & \"three\"\nfour\u2028five")));
        QVERIFY(TextCheck::isSimpleMarkup(own->toHtml()));
        QVERIFY(TextCheck::isSimpleMarkup(wrapped("<P ALIGN=center><SPAN>x</SPAN><BR/></P>")));

        const QString refused[] = {
            wrapped("<table><tr><td>x</td></tr></table>"),
            wrapped("<ul><li>x</li></ul>"),
            wrapped("<img src=\"x.png\">"),
            wrapped("<hr>"),
            wrapped("<a href=\"x\">x</a>"),
            wrapped("<!-- x -->"),
            wrapped("<p title=\"<table>\">x</p>"),
            wrapped("<tAbLe>"),
            wrapped(QStringLiteral("<br>").repeated(TextCheck::MaxTags)),
            QStringLiteral("<html><head><style>") + QString(TextCheck::MaxStyleSheet, 'p')
                + "</style></head></html>",
        };
        for (const QString &html : refused)
            QVERIFY2(!TextCheck::isSimpleMarkup(html), qPrintable(html.left(80)));
    }

    // Limits of the parsed text, each one past its edge.
    void parsedTextStaysSmall()
    {
        const auto simple = [](const QString &html) {
            QTextDocument doc;
            doc.setHtml(html);
            return TextCheck::isSimpleDocument(doc);
        };
        const QString full(TextCheck::MaxCharacters, QLatin1Char('a'));
        QVERIFY(simple(wrapped("<p>" + full + "</p>")));
        QVERIFY(!simple(wrapped("<p>" + full + "a</p>")));
        QString lines;
        for (int i = 1; i < TextCheck::MaxLines; ++i)
            lines += QStringLiteral("x<br>");
        QVERIFY(simple(wrapped("<p>" + lines + "</p>")));
        QVERIFY(!simple(wrapped("<p>" + lines + "<br></p>")));
        QVERIFY(!simple(wrapped("<p>a</p><p>" + lines + "</p>")));
        QVERIFY(simple(wrapped("<p><span style=\"font-size:2000pt\">x</span></p>")));
        QVERIFY(!simple(wrapped("<p><span style=\"font-size:2001pt\">x</span></p>")));
        QVERIFY(!simple(wrapped("<p><span style=\"font-size:99999px\">x</span></p>")));
        QVERIFY(!simple(wrapped("<table><tr><td>x</td></tr></table>")));
        QVERIFY(!simple(wrapped("<ol><li>x</li></ol>")));
        QVERIFY(!simple(wrapped("<img src=\"x.png\">")));
    }

    // A text cut at the limits still opens from its record, as the page
    // renderer and the reader build it.
    void textAtTheLimitsBuildsFromItsRecord()
    {
        QString text = QStringLiteral("abcdefghi\n").repeated(TextCheck::MaxLines - 1);
        text += QString(TextCheck::MaxCharacters - text.size(), QLatin1Char('j'));
        ObjText source;
        source.setDocument(typed(text));
        QVERIFY(TextCheck::hasRoom(*source.document, 0, 0));
        QVERIFY(!TextCheck::hasRoom(*source.document, 1, 0));
        QVERIFY(!TextCheck::hasRoom(*source.document, 0, 1));
        const std::unique_ptr<Obj> copy(ObjectRecord::of(&source).create(QString()));
        QVERIFY(copy);
        QCOMPARE(static_cast<ObjText *>(copy.get())->document->toPlainText(), text);
    }

    // A document's limits hold across pages, whatever each page holds
    // (the page's own limits are tested on documents that pass them).
    void documentLimitsSpanPages()
    {
        ObjectRecord stroke;
        stroke.path.moveTo(0, 0);
        for (int i = 1; i < DrawingLimits::MaxPagePoints; ++i)
            stroke.path.lineTo(i % 100, i % 7);
        ObjectRecord shape;
        DrawingLimits limits;
        const int strokes = DrawingLimits::MaxDocumentPoints / DrawingLimits::MaxPagePoints;
        for (int page = 0;
             page < DrawingLimits::MaxDocumentCharacters / DrawingLimits::MaxPageCharacters;
             ++page) {
            limits.startPage();
            QCOMPARE(limits.admit(stroke), page < strokes);
            QVERIFY(limits.admitCharacters(DrawingLimits::MaxPageCharacters));
        }
        limits.startPage();
        QVERIFY(!limits.admitCharacters(1));
        int shapes = 0;
        for (int page = 0;
             page <= DrawingLimits::MaxDocumentObjects / DrawingLimits::MaxPageObjects; ++page) {
            limits.startPage();
            while (limits.admit(shape))
                ++shapes;
        }
        QCOMPARE(shapes + strokes, DrawingLimits::MaxDocumentObjects);
        QVERIFY(limits.isPageFull());
    }
};

QTEST_MAIN(TestTextCheck)
#include "test_textcheck.moc"
