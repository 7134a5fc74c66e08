#include "canvas/mytextedit.h"
#include "canvas/texteditwidget.h"
#include "canvas/texttool.h"
#include "canvasfixture.h"
#include "document/objectrecord.h"
#include "document/objtext.h"
#include "document/textcheck.h"

#include <QClipboard>
#include <QTextDocument>

// The text tool's two clicks, its in-place editor, also over a page shown
// smaller than its size.
class TestTextTool : public QObject
{
    Q_OBJECT

    std::unique_ptr<CanvasFixture> canvas;

    TextTool *text() const { return ToolKit::instance().textTool(); }

private Q_SLOTS:
    void init()
    {
        canvas = std::make_unique<CanvasFixture>();
        QVERIFY(canvas->exposed);
        ToolKit::instance().setCurrentTool(ToolKit::Text);
    }

    void cleanup() { canvas.reset(); }

    void secondClickCommitsTextInsideTheMargin()
    {
        canvas->click(QPoint(100, 120));
        TextEditWidget *editor = text()->textEditor();
        QVERIFY(editor);
        QCOMPARE(editor->pos(), QPoint(100, 120));
        QVERIFY(!editor->document());
        QTest::keyClicks(editor->textEdit(), QStringLiteral("Hello"));
        QTest::keyClick(editor->textEdit(), Qt::Key_Escape); // swallowed
        const QRect box = editor->geometry();

        canvas->click(QPoint(500, 500));
        QVERIFY(!text()->textEditor());
        auto *obj = canvas->lastObject<ObjText>();
        QVERIFY(obj);
        QCOMPARE(canvas->objects().size(), 1);
        QCOMPARE(obj->rect, QRectF(box.adjusted(12, 12, -12, -12)));
        QVERIFY(obj->document);
        QCOMPARE(obj->document->toPlainText(), QStringLiteral("Hello"));
        QVERIFY(!canvas->inkBox(obj->rect.toRect()).isEmpty());

        // The commit click opens nothing; the next one does, and an empty
        // editor closes without an object.
        canvas->click(QPoint(300, 300));
        QVERIFY(text()->textEditor());
        canvas->click(QPoint(600, 300));
        QVERIFY(!text()->textEditor());
        QCOMPARE(canvas->objects().size(), 1);
    }

    // The editor holds no more than a document's text may: a paste keeps
    // what fits, typing stops at the edge, and what is left opens again.
    void editorStopsAtWhatADocumentHolds()
    {
        canvas->click(QPoint(100, 120));
        TextEditWidget *editor = text()->textEditor();
        QVERIFY(editor);
        const QTextDocument *doc = editor->textEdit()->document();
        QGuiApplication::clipboard()->setText(
            QStringLiteral("line\r\n").repeated(TextCheck::MaxLines));
        editor->textEdit()->paste();
        QCOMPARE(TextCheck::lineCount(*doc), TextCheck::MaxLines);
        QTest::keyClick(editor->textEdit(), Qt::Key_Return);
        QTest::keyClick(editor->textEdit(), Qt::Key_Return, Qt::ShiftModifier);
        QCOMPARE(TextCheck::lineCount(*doc), TextCheck::MaxLines);
        QGuiApplication::clipboard()->setText(QString(TextCheck::MaxCharacters, QLatin1Char('x')));
        editor->textEdit()->paste();
        QCOMPARE(doc->characterCount() - 1, TextCheck::MaxCharacters);
        QTest::keyClicks(editor->textEdit(), QStringLiteral("yz"));
        QCOMPARE(doc->characterCount() - 1, TextCheck::MaxCharacters);
        QVERIFY(!doc->toPlainText().contains(QLatin1Char('y')));

        canvas->click(QPoint(500, 500));
        auto *obj = canvas->lastObject<ObjText>();
        QVERIFY(obj);
        const std::unique_ptr<Obj> reopened(ObjectRecord::of(obj).create(QString()));
        QVERIFY(reopened);
    }

    void editorGoesWithAToolSwitchOrTheCanvas()
    {
        canvas->click(QPoint(100, 100));
        QPointer<TextEditWidget> editor = text()->textEditor();
        QTest::keyClicks(editor->textEdit(), QStringLiteral("gone"));
        ToolKit::instance().setCurrentTool(ToolKit::Pen);
        QVERIFY(editor.isNull());
        QVERIFY(canvas->objects().isEmpty());

        ToolKit::instance().setCurrentTool(ToolKit::Text);
        canvas->click(QPoint(100, 100));
        QVERIFY(text()->textEditor());
        canvas->window.reset(); // no dangling editor
        QVERIFY(!text()->textEditor());
        text()->reset();
    }

    // A page wider than its window is shown whole, at half its size: the
    // editor opens under the click and the text lands on the page there.
    void textOnAPageShownSmaller()
    {
        const QSize screen = QGuiApplication::primaryScreen()->size();
        canvas = std::make_unique<CanvasFixture>(QSize(screen.width() / 2, screen.height()));
        QVERIFY(canvas->exposed);
        MainView *view = canvas->view;
        QCOMPARE(view->pageScale(), 0.5);
        QCOMPARE(view->geometry(),
                 QRect(0, screen.height() / 4, screen.width() / 2, screen.height() / 2));
        ToolKit::instance().setCurrentTool(ToolKit::Text);
        canvas->click(QPoint(100, 60));
        TextEditWidget *editor = text()->textEditor();
        QVERIFY(editor);
        QCOMPARE(editor->pos(), QPoint(100, 60));
        QTest::keyClicks(editor->textEdit(), QStringLiteral("half"));
        canvas->click(QPoint(350, 300));
        auto *added = canvas->lastObject<ObjText>();
        QVERIFY(added);
        const int m = TextEditWidget::margin;
        QCOMPARE(added->rect.topLeft(), QPointF(200 + m, 120 + m));
    }
};

QTEST_MAIN(TestTextTool)
#include "test_texttool.moc"
