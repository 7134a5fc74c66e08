#include "app/commandline.h"
#include "app/instancerequest.h"
#include "canvas/mainview.h"
#include "canvas/toolkit.h"
#include "mainwindow/actiondispatcher.h"
#include "mainwindow/mainwindow.h"
#include "testenvironment.h"
#include "toolbar/toolwidget.h"

#include <QImage>
#include <QtTest>

#include <algorithm>
#include <memory>

// The named actions of the command line, performed on a real main window.
class TestActionDispatcher : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    std::unique_ptr<MainWindow> window;
    ActionDispatcher *dispatcher = nullptr;

    static QStringList sorted(QStringList list)
    {
        std::sort(list.begin(), list.end());
        return list;
    }

private Q_SLOTS:
    void init()
    {
        env = std::make_unique<TestEnvironment>();
        ToolKit::reset();
        window = std::make_unique<MainWindow>();
        dispatcher = new ActionDispatcher(window.get());
    }

    void cleanup()
    {
        window.reset();
        env.reset();
    }

    // What the command line accepts is exactly what can be performed.
    void everyActionNameHasACommand()
    {
        QCOMPARE(sorted(dispatcher->names()), sorted(CommandLine::actionNames()));
        QVERIFY(!dispatcher->perform(QStringLiteral("fly")));
        QVERIFY(!dispatcher->perform(QString()));
    }

    // Files come before the actions of the same request; nothing at all
    // brings the program back, as a second start always did.
    void requestsOpenFilesThenAct()
    {
        QImage picture(64, 48, QImage::Format_RGB32);
        picture.fill(Qt::magenta);
        const QString file = env->path(QStringLiteral("slide.png"));
        QVERIFY(picture.save(file));
        InstanceRequest request;
        request.files = { file };
        request.actions = { QStringLiteral("new-page"), QStringLiteral("fly") };
        dispatcher->slot_Handle(request);
        // The picture is read on a worker; the actions wait for its page.
        QTRY_COMPARE(window->view()->document().pageCount(), 2);
        QCOMPARE(window->view()->document().currentPageNumber(), 2);
        // Nothing at all brings the toolbar back (here: it was never away).
        dispatcher->slot_Handle(InstanceRequest());
        QCOMPARE(window->view()->document().pageCount(), 2);
    }

    // Without a tray "hide" can only fold the toolbar, however often it
    // comes, and "show" unfolds it; the fourth hotkey's command goes back to
    // the page from the desktop.
    void hideFoldsAndShowUnfolds()
    {
        ToolWidget *toolbar = window->toolbar();
        QVERIFY(dispatcher->perform(QStringLiteral("hide")));
        QVERIFY(dispatcher->perform(QStringLiteral("hide")));
        QVERIFY(toolbar->isFolded());
        QVERIFY(dispatcher->perform(QStringLiteral("show")));
        QVERIFY(!toolbar->isFolded());

        window->slot_New();
        window->SetDrawMode(false);
        QVERIFY(dispatcher->perform(QStringLiteral("back-to-last-page")));
        QVERIFY(window->modes()->isDrawMode());
        QCOMPARE(window->view()->document().pageCount(), 1);
    }
};

QTEST_MAIN(TestActionDispatcher)
#include "test_actiondispatcher.moc"
