#pragma once

#include "commandoutput.h"
#include "mainwindow/exportbtn.h"
#include "mainwindow/exportdlg.h"
#include "numberedpicture.h"
#include "testenvironment.h"
#include "toolbar/toolwidget.h"
#include "toolbar/toolwidgetbtn.h"
#include "trywait.h"
#include "x11probe.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QScreen>
#include <QtTest>

// Runs the real program on the test's X server and drives it as a user does:
// xdotool moves and clicks the pointer and types to the focused window.
class RealProgram
{
public:
    explicit RealProgram(const TestEnvironment &env)
        : env(env)
    {
    }
    ~RealProgram()
    {
        // Closing would ask about modified pages; that flow has its own tests.
        program.kill();
        program.waitForFinished(15000);
    }

    // Output of a tool run to its end; nothing when it fails.
    static QByteArray tool(const QString &strProgram, const QStringList &arguments)
    {
        return commandOutput(strProgram, arguments);
    }

    static QString xdotool(const QStringList &arguments)
    {
        return QString::fromLocal8Bit(tool(QStringLiteral("xdotool"), arguments)).trimmed();
    }

    // Covers the root window with a picture (the window manager paints nothing over it).
    static bool paintRoot(const QImage &picture, const QString &strFile)
    {
        if (!picture.save(strFile, "PNG"))
            return false;
        QProcess display;
        display.start(QStringLiteral("display"),
                      { QStringLiteral("-window"), QStringLiteral("root"), strFile });
        // display leaves with status 1 after setting the root's picture.
        return display.waitForFinished(30000) && display.exitStatus() == QProcess::NormalExit;
    }

    // Starts the program with the given additions to the environment and a
    // short capture delay.
    bool start(const QStringList &environment, const QStringList &arguments = {})
    {
        QDir().mkpath(env.dataFolder());
        if (!writeFile(env.dataFolder() + QStringLiteral("/Setting.ini"),
                       "[UserInterface]\nLanguage=en_GB\nCaptureDelay=200\nShowTrayIcon=0\n"))
            return false;
        QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
        e.remove(QStringLiteral("TAV_PLATFORM"));
        for (const QString &pair : environment)
            e.insert(pair.section(QLatin1Char('='), 0, 0), pair.section(QLatin1Char('='), 1));
        program.setProcessEnvironment(e);
        program.start(QStringLiteral(TAV_PROGRAM), arguments);
        return program.waitForStarted();
    }

    // Whether the program has a file whose name starts with `prefix` mapped.
    bool maps(const QString &prefix) const
    {
        QFile file(QStringLiteral("/proc/%1/maps").arg(program.processId()));
        if (!file.open(QIODevice::ReadOnly))
            return false;
        for (const QByteArray &line : file.readAll().split('\n')) {
            const int slash = line.indexOf('/');
            if (slash >= 0 && line.mid(slash).split('/').last().startsWith(prefix.toLocal8Bit()))
                return true;
        }
        return false;
    }

    // The toolbar's window id, once it shows.
    QString toolbar() const
    {
        return xdotool({ QStringLiteral("search"), QStringLiteral("--sync"),
                         QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                         QStringLiteral("Quillbury Tavelmark") })
            .section(QLatin1Char('\n'), 0, 0);
    }

    // Where the Pen button's centre lies in the toolbar window (in logical
    // pixels), laid out by the same code the program runs.
    static QPoint penButtonOffset()
    {
        ToolWidget layout;
        // Layouts settle only when shown.
        layout.setAttribute(Qt::WA_DontShowOnScreen);
        layout.show();
        const ToolWidgetBtn *pen = layout.button(ToolWidget::Pen);
        return pen->mapTo(&layout, pen->rect().center());
    }

    // Where a choice of the export dialog lies in it (0 the document, 1 to 5
    // the pictures' formats, the PDF last), laid out by the program's own code.
    static QPoint saveChoiceOffset(int index)
    {
        ExportDlg dialog(nullptr, nullptr, nullptr);
        dialog.setAttribute(Qt::WA_DontShowOnScreen);
        dialog.show();
        const ExportBtn *choice = dialog.findChildren<ExportBtn *>().value(index);
        return choice ? choice->mapTo(&dialog, choice->rect().center()) : QPoint();
    }

    // Every page exported as one PDF to `strFile`, as a user does it: Save,
    // the PDF button, the file's name typed into the file dialog.
    static void exportPdf(const X11Probe &x11, const QString &strFile)
    {
        exportAs(x11, saveChoiceOffset(5), strFile);
    }

    // Every page exported as a ZIP of PNG pictures to `strFile`; `scale`
    // is the program's.
    static void exportPngZip(const X11Probe &x11, const QString &strFile, int scale = 1)
    {
        exportAs(x11, saveChoiceOffset(3) * scale, strFile);
    }

    static void exportAs(const X11Probe &x11, const QPoint &choiceOffset, const QString &strFile)
    {
        key(QStringLiteral("ctrl+s"));
        QString exportWindow;
        TAV_TRY_VERIFY(!(exportWindow = findWindow(QStringLiteral("Save"))).isEmpty(), 10000);
        click(x11.rootGeometry(exportWindow.toUInt()).topLeft() + choiceOffset);
        TAV_TRY_VERIFY(findWindow(QStringLiteral("Save")) != exportWindow
                           && !findWindow(QStringLiteral("Save")).isEmpty(),
                       10000);
        key(QStringLiteral("ctrl+a"));
        xdotool({ QStringLiteral("type"), strFile });
        key(QStringLiteral("Return"));
        TAV_TRY_VERIFY(QFile::exists(strFile), 15000);
        TAV_TRY_VERIFY(findWindow(QStringLiteral("Save")).isEmpty(), 10000);
    }

    // A visible window of that exact name, or an empty string.
    static QString findWindow(const QString &strName)
    {
        return xdotool({ QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                         QStringLiteral("--name"), QStringLiteral("^%1$").arg(strName) })
            .section(QLatin1Char('\n'), 0, 0);
    }

    // How many visible windows have that exact name.
    static int windowCount(const QString &strName)
    {
        return int(xdotool({ QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                             QStringLiteral("--name"), QStringLiteral("^%1$").arg(strName) })
                       .split(QLatin1Char('\n'), Qt::SkipEmptyParts)
                       .size());
    }

    // Whether a client window other than `except` covers the primary screen.
    static bool fullScreenClientShown(const X11Probe &x11, xcb_window_t except)
    {
        return x11.clientCovers(QGuiApplication::primaryScreen()->geometry(), except);
    }

    // A full-screen client other than except has the keyboard, so the window
    // manager stacks it over every other.
    static bool fullScreenClientActive(const X11Probe &x11, xcb_window_t except)
    {
        const QList<quint32> active
            = x11.cardinals(x11.rootWindow(), "_NET_ACTIVE_WINDOW", XCB_ATOM_WINDOW);
        return !active.isEmpty() && active.first() != except
            && x11.rootGeometry(active.first()) == QGuiApplication::primaryScreen()->geometry();
    }

    // The pixel the screen shows at a global point.
    static QColor shownAt(const QPoint &p)
    {
        return QGuiApplication::primaryScreen()
            ->grabWindow(0, p.x(), p.y(), 1, 1)
            .toImage()
            .pixelColor(0, 0);
    }

    static bool nearColour(const QColor &a, const QColor &b, int tolerance)
    {
        return qAbs(a.red() - b.red()) <= tolerance && qAbs(a.green() - b.green()) <= tolerance
            && qAbs(a.blue() - b.blue()) <= tolerance;
    }

    // Hands the running program an action through a second start.
    bool perform(const QString &strAction) const
    {
        QProcess remote;
        remote.setProcessEnvironment(program.processEnvironment());
        remote.start(QStringLiteral(TAV_PROGRAM), { QStringLiteral("--action"), strAction });
        return remote.waitForFinished(15000) && remote.exitCode() == 0;
    }

    static void click(const QPoint &p)
    {
        xdotool({ QStringLiteral("mousemove"), QString::number(p.x()), QString::number(p.y()),
                  QStringLiteral("click"), QStringLiteral("1") });
    }

    static void key(const QString &strKeys) { xdotool({ QStringLiteral("key"), strKeys }); }

    // A left-button drag through a few steps, as a hand would move.
    static void drag(const QPoint &from, const QPoint &to)
    {
        xdotool({ QStringLiteral("mousemove"), QString::number(from.x()), QString::number(from.y()),
                  QStringLiteral("mousedown"), QStringLiteral("1") });
        for (int i = 1; i <= 8; ++i) {
            const QPoint p = from + (to - from) * i / 8;
            xdotool(
                { QStringLiteral("mousemove"), QString::number(p.x()), QString::number(p.y()) });
        }
        xdotool({ QStringLiteral("mouseup"), QStringLiteral("1") });
    }

    QProcess program;

private:
    const TestEnvironment &env;
};
