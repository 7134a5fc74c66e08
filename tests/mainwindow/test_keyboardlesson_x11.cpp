#include "realprogram.h"
#include "testenvironment.h"
#include "widgets/messageboxdialog.h"
#include "x11probe.h"

#include <QAbstractButton>
#include <QApplication>
#include <QBuffer>
#include <QScreen>
#include <QtTest>

#include <memory>

// A lesson run with the keyboard alone, no pointer: the Focus Toolbar hotkey,
// a blank page from the toolbar, a text stamp, turning pages, exporting every
// page and quitting with the save question answered, all by keys sent to
// whichever window has the keyboard.
class TestKeyboardLessonX11 : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;

    static void keys(const QString &strKey, int iTimes = 1)
    {
        for (int i = 0; i < iTimes; ++i)
            RealProgram::key(strKey);
    }

    static QImage screenPicture()
    {
        return QGuiApplication::primaryScreen()->grabWindow(0).toImage().convertToFormat(
            QImage::Format_RGB32);
    }

    static bool isInk(QRgb pixel) { return qGray(pixel) < 160; }

    // The middle of the screen, clear of the toolbar at the left edge and the
    // page label: where the stamp lands.
    static QRect middle(const QSize &screen)
    {
        return QRect(screen.width() / 2 - 300, screen.height() / 2 - 150, 600, 300);
    }

    static int inkIn(const QImage &picture, const QRect &area)
    {
        int count = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                count += isInk(picture.pixel(x, y)) ? 1 : 0;
        return count;
    }

    // The ink of the exported page is where the screen showed ink (the
    // screen adds the selection's outline around the stamp).
    static int inkMissingOnScreen(const QImage &exported, const QImage &shown, const QRect &area)
    {
        int missing = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                missing += (isInk(exported.pixel(x, y)) && !isInk(shown.pixel(x, y))) ? 1 : 0;
        return missing;
    }

    static QImage zipEntry(const QString &strZip, const QString &strEntry)
    {
        return QImage::fromData(RealProgram::tool(QStringLiteral("unzip"),
                                                  { QStringLiteral("-p"), strZip, strEntry }))
            .convertToFormat(QImage::Format_RGB32);
    }

    static QStringList zipEntries(const QString &strZip)
    {
        const QString listing = QString::fromLocal8Bit(
            RealProgram::tool(QStringLiteral("unzip"), { QStringLiteral("-Z1"), strZip }));
        return listing.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    // How many Tabs lead from the default Save to Discard in the save
    // question, laid out by the program's own code on this display.
    static int tabsToDiscard()
    {
        MessageBoxDialog box(nullptr, QStringLiteral("The document has been modified."),
                             QStringLiteral("Do you want to save your changes?"),
                             QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
                             QMessageBox::Save);
        box.show();
        if (!QTest::qWaitForWindowActive(&box))
            return -1;
        QAbstractButton *discard = box.button(QMessageBox::Discard);
        for (int tabs = 0; tabs < 6; ++tabs) {
            if (QApplication::focusWidget() == discard)
                return tabs;
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        return -1;
    }

    // A text stamp by the Edit menu's keys, the text typed and accepted.
    static void stamp(const QString &strText)
    {
        keys(QStringLiteral("ctrl+shift+1"));
        TAV_TRY_VERIFY(!RealProgram::findWindow(QStringLiteral("Text Input")).isEmpty(), 10000);
        RealProgram::xdotool({ QStringLiteral("type"), strText });
        keys(QStringLiteral("ctrl+Return"));
        TAV_TRY_VERIFY(RealProgram::findWindow(QStringLiteral("Text Input")).isEmpty(), 10000);
    }

private Q_SLOTS:
    void init() { env = std::make_unique<TestEnvironment>(); }
    void cleanup() { env.reset(); }

    void lessonByKeysAlone()
    {
        X11Probe x11;
        const QSize screen = QGuiApplication::primaryScreen()->size();
        const int discardTabs = tabsToDiscard();
        QVERIFY(discardTabs >= 0);
        QTemporaryDir folder;
        RealProgram program(*env);
        QVERIFY(program.start({}));
        const QString toolbar = program.toolbar();
        QVERIFY2(!toolbar.isEmpty(), "the toolbar never showed");
        // The pointer rests away from everything the test looks at.
        RealProgram::xdotool({ QStringLiteral("mousemove"), QString::number(screen.width() - 5),
                               QString::number(5) });

        // The teacher's slides have the keyboard; the hotkey gives it to the
        // toolbar.
        const auto activeWindow = [&] {
            return x11.cardinals(x11.rootWindow(), "_NET_ACTIVE_WINDOW", XCB_ATOM_WINDOW).value(0);
        };
        QWidget slides;
        slides.setWindowTitle(QStringLiteral("Slides"));
        slides.setGeometry(300, 200, 400, 300);
        slides.show();
        QVERIFY(QTest::qWaitForWindowExposed(&slides));
        RealProgram::xdotool({ QStringLiteral("windowactivate"), QStringLiteral("--sync"),
                               QString::number(slides.winId()) });
        QTRY_COMPARE_WITH_TIMEOUT(activeWindow(), quint32(slides.winId()), 10000);
        keys(QStringLiteral("ctrl+alt+k"));
        QTRY_COMPARE_WITH_TIMEOUT(activeWindow(), toolbar.toUInt(), 10000);
        slides.hide();

        // From the first button that can act (the mouse) along the tools, the
        // options button, to New Blank Page; Space presses it.
        keys(QStringLiteral("Tab"), 9);
        keys(QStringLiteral("space"));
        TAV_TRY_VERIFY(RealProgram::fullScreenClientShown(x11, toolbar.toUInt()), 15000);
        TAV_TRY_VERIFY(inkIn(screenPicture(), middle(screen)) == 0, 10000);

        stamp(QStringLiteral("Hello class"));
        QImage firstShown;
        TAV_TRY_VERIFY(inkIn(firstShown = screenPicture(), middle(screen)) > 50, 10000);

        // A second page, then back to the first by keys.
        keys(QStringLiteral("ctrl+n"));
        TAV_TRY_VERIFY(inkIn(screenPicture(), middle(screen)) == 0, 10000);
        keys(QStringLiteral("Prior"));
        TAV_TRY_VERIFY(inkIn(firstShown = screenPicture(), middle(screen)) > 50, 10000);

        // Every page as a ZIP of pictures: the dialog's fourth choice, reached
        // by Tab, then the file's name typed into the file dialog.
        const QString zip = folder.filePath(QStringLiteral("lesson.zip"));
        keys(QStringLiteral("ctrl+s"));
        QString exportWindow;
        TAV_TRY_VERIFY(!(exportWindow = RealProgram::findWindow(QStringLiteral("Save"))).isEmpty(),
                       10000);
        keys(QStringLiteral("Tab"), 3);
        keys(QStringLiteral("space"));
        TAV_TRY_VERIFY(RealProgram::findWindow(QStringLiteral("Save")) != exportWindow
                           && !RealProgram::findWindow(QStringLiteral("Save")).isEmpty(),
                       10000);
        keys(QStringLiteral("ctrl+a"));
        RealProgram::xdotool({ QStringLiteral("type"), zip });
        keys(QStringLiteral("Return"));
        TAV_TRY_VERIFY(QFile::exists(zip), 15000);
        TAV_TRY_VERIFY(RealProgram::findWindow(QStringLiteral("Save")).isEmpty(), 10000);
        QStringList entries;
        TAV_TRY_VERIFY((entries = zipEntries(zip)).size() == 2, 10000);
        entries.sort();
        const QImage first = zipEntry(zip, entries.at(0));
        const QImage second = zipEntry(zip, entries.at(1));
        QCOMPARE(first.size(), screen);
        QVERIFY(inkIn(first, middle(screen)) > 50);
        QVERIFY(inkMissingOnScreen(first, firstShown, middle(screen))
                <= inkIn(first, middle(screen)) / 50);
        QCOMPARE(inkIn(second, middle(screen)), 0);

        // One more stamp leaves changes to save; Ctrl+Q asks, and Discard,
        // reached by Tab, ends the program.
        stamp(QStringLiteral("Homework"));
        const QString title = MessageBoxDialog::productTitle();
        const int windows = RealProgram::windowCount(title);
        keys(QStringLiteral("ctrl+q"));
        TAV_TRY_VERIFY(RealProgram::windowCount(title) > windows, 10000);
        keys(QStringLiteral("Tab"), discardTabs);
        keys(QStringLiteral("space"));
        QVERIFY(program.program.waitForFinished(15000));
        QCOMPARE(program.program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.program.exitCode(), 0);
    }
};

QTEST_MAIN(TestKeyboardLessonX11)
#include "test_keyboardlesson_x11.moc"
