#include "realprogram.h"
#include "testenvironment.h"
#include "toolbar/toolwidget.h"
#include "widgets/menubtn.h"
#include "x11probe.h"

#include <QProcess>
#include <QScreen>
#include <QSettings>
#include <QtTest>

#include <algorithm>
#include <memory>

// The real program on an X server: a first start on a Chinese desktop comes up
// in Chinese and its menu shows real glyphs (not the boxes of a missing font);
// a stored choice wins over the desktop's language.
class TestLanguageX11 : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;

    static QPoint menuButtonOffset()
    {
        ToolWidget layout;
        layout.setAttribute(Qt::WA_DontShowOnScreen);
        layout.show();
        auto *button = layout.findChild<MenuBtn *>();
        return button->mapTo(&layout, button->rect().center());
    }

    struct Row
    {
        QRect ink;
        QImage mask;
    };

    // The text of each menu entry: dark pixels (the entries' text colour),
    // grouped into rows, without the submenu arrow at the right edge.
    static QList<Row> textRows(const QImage &menu)
    {
        auto dark = [&](int x, int y) { return qGray(menu.pixel(x, y)) < 100; };
        const int textRight = menu.width() * 3 / 4;
        QList<Row> rows;
        int top = -1;
        for (int y = 0; y <= menu.height(); ++y) {
            bool ink = false;
            for (int x = 0; y < menu.height() && x < textRight && !ink; ++x)
                ink = dark(x, y);
            if (ink && top < 0)
                top = y;
            if (!ink && top >= 0) {
                QRect box;
                for (int yy = top; yy < y; ++yy)
                    for (int x = 0; x < textRight; ++x)
                        if (dark(x, yy))
                            box |= QRect(x, yy, 1, 1);
                QImage mask(box.size(), QImage::Format_Mono);
                for (int yy = 0; yy < box.height(); ++yy)
                    for (int x = 0; x < box.width(); ++x)
                        mask.setPixel(x, yy, dark(box.x() + x, box.y() + yy) ? 1 : 0);
                rows.append({ box, mask });
                top = -1;
            }
        }
        return rows;
    }

    // Starts the program with the desktop language strLocale, opens the
    // toolbar's menu and returns a picture of it; the program is left running.
    QImage openMenu(QProcess &program, const QString &strLocale)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("TAV_PLATFORM"));
        environment.remove(QStringLiteral("LANGUAGE"));
        environment.insert(QStringLiteral("LC_ALL"), strLocale);
        environment.insert(QStringLiteral("LANG"), strLocale);
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(TAV_PROGRAM), {});
        if (!program.waitForStarted())
            return {};
        const QString toolbar
            = RealProgram::xdotool({ QStringLiteral("search"), QStringLiteral("--sync"),
                                     QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                                     QStringLiteral("Quillbury Tavelmark") })
                  .section(QLatin1Char('\n'), 0, 0);
        if (toolbar.isEmpty())
            return {};
        X11Probe x11;
        const QList<xcb_window_t> before = x11.popups();
        const QPoint button = x11.rootGeometry(toolbar.toUInt()).topLeft() + menuButtonOffset();
        RealProgram::xdotool({ QStringLiteral("mousemove"), QString::number(button.x()),
                               QString::number(button.y()), QStringLiteral("click"),
                               QStringLiteral("1"), QStringLiteral("mousemove"),
                               QStringLiteral("0"), QStringLiteral("0") });
        xcb_window_t menu = 0;
        const bool opened = QTest::qWaitFor(
            [&] {
                for (xcb_window_t w : x11.popups())
                    if (!before.contains(w))
                        menu = w;
                return menu != 0;
            },
            10000);
        if (!opened)
            return {};
        const QRect rect = x11.rootGeometry(menu);
        // Wait for the menu to be painted: its text rows appear (the caller
        // checks the rows, so a timeout needs no separate report).
        QImage picture;
        (void)QTest::qWaitFor(
            [&] {
                picture = QGuiApplication::primaryScreen()
                              ->grabWindow(0, rect.x(), rect.y(), rect.width(), rect.height())
                              .toImage();
                return textRows(picture).size() >= 5;
            },
            10000);
        return picture;
    }

    static void endPolitely(QProcess &program)
    {
        program.terminate();
        if (!program.waitForFinished(15000))
            program.kill();
    }

private Q_SLOTS:
    void init() { env = std::make_unique<TestEnvironment>(); }
    void cleanup() { env.reset(); }

    void chineseDesktopGivesChineseGlyphsOnFirstStart()
    {
        QProcess program;
        const QImage menu = openMenu(program, QStringLiteral("zh_CN.UTF-8"));
        QVERIFY(!menu.isNull());
        const QList<Row> rows = textRows(menu);
        endPolitely(program);
        if (!qEnvironmentVariableIsEmpty("TAV_SCREENSHOTS"))
            menu.save(qEnvironmentVariable("TAV_SCREENSHOTS") + QStringLiteral("/menu_zh_CN.png"));

        // "文件", "编辑", "视图", "工具", "帮助": two full-width characters each,
        // so the rows are equally wide; a missing font would draw the
        // same box for every character, so all rows would look alike.
        QCOMPARE(rows.size(), 5);
        int narrowest = INT_MAX, widest = 0;
        for (const Row &row : rows) {
            narrowest = std::min(narrowest, row.ink.width());
            widest = std::max(widest, row.ink.width());
            QVERIFY2(row.ink.width() > row.ink.height(), "each entry is two characters wide");
        }
        QVERIFY2(widest - narrowest <= 3,
                 qPrintable(QStringLiteral("widths %1 to %2").arg(narrowest).arg(widest)));
        for (int i = 0; i < rows.size(); ++i)
            for (int j = i + 1; j < rows.size(); ++j)
                QVERIFY2(
                    rows[i].mask != rows[j].mask,
                    qPrintable(QStringLiteral("rows %1 and %2 are the same shapes").arg(i).arg(j)));

        // The choice made for the desktop is kept.
        QSettings ini(env->dataFolder() + QStringLiteral("/Setting.ini"), QSettings::IniFormat);
        QCOMPARE(ini.value(QStringLiteral("UserInterface/Language")).toString(),
                 QStringLiteral("zh_CN"));
    }

    void storedChoiceWinsOverTheDesktop()
    {
        QDir().mkpath(env->dataFolder());
        QVERIFY(writeFile(env->dataFolder() + QStringLiteral("/Setting.ini"),
                          "[UserInterface]\nLanguage=en_GB\n"));
        QProcess program;
        const QImage menu = openMenu(program, QStringLiteral("zh_TW.UTF-8"));
        QVERIFY(!menu.isNull());
        const QList<Row> rows = textRows(menu);
        endPolitely(program);
        // "File", "Edit", "View", "Tools", "Help": Latin words of unequal width.
        QCOMPARE(rows.size(), 5);
        int narrowest = INT_MAX, widest = 0;
        for (const Row &row : rows) {
            narrowest = std::min(narrowest, row.ink.width());
            widest = std::max(widest, row.ink.width());
        }
        QVERIFY2(widest - narrowest > 3,
                 qPrintable(QStringLiteral("widths %1 to %2").arg(narrowest).arg(widest)));
        QSettings ini(env->dataFolder() + QStringLiteral("/Setting.ini"), QSettings::IniFormat);
        QCOMPARE(ini.value(QStringLiteral("UserInterface/Language")).toString(),
                 QStringLiteral("en_GB"));
    }
};

QTEST_MAIN(TestLanguageX11)
#include "test_language_x11.moc"
