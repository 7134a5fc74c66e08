#include "app/appstate.h"
#include "app/moduleloader.h"
#include "canvas/mainview.h"
#include "canvas/toolkit.h"
#include "commandwaits.h"
#include "document/addcommand.h"
#include "document/mainpage.h"
#include "document/ziploader.h"
#include "documentsaved.h"
#include "mainwindow/documentcommands.h"
#include "mainwindow/documentfiles.h"
#include "mainwindow/mainwindow.h"
#include "modalanswerer.h"
#include "openwhole.h"
#include "pixels.h"
#include "testenvironment.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

// Answers the save dialog from a queue, as the user would.
class TestFiles : public DocumentFiles
{
public:
    using DocumentFiles::DocumentFiles;

    QStringList saveAnswers;

    QString askOpenFileName(const QString &, const QString &) override { return QString(); }
    QString askSaveFileName(const QString &, const QString &, const QString &) override
    {
        return saveAnswers.isEmpty() ? QString() : saveAnswers.takeFirst();
    }
};

// Whether this process has a file whose name starts with `prefix` mapped.
bool mapped(const QString &prefix)
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray &line : maps.readAll().split('\n')) {
        const int slash = line.indexOf('/');
        if (slash >= 0
            && QFileInfo(QString::fromLocal8Bit(line.mid(slash))).fileName().startsWith(prefix))
            return true;
    }
    return false;
}

} // namespace

// The ZIP support is a module of its own: the window starts without it, the
// documents and the exports load it when they first need it, and without it
// they say so and leave every file as it was.
class TestLazyZip : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    std::unique_ptr<MainWindow> window;
    TestFiles *files = nullptr;
    DocumentCommands *commands = nullptr;
    QByteArray modules = qgetenv("TAV_MODULE_DIR");

    MainView *view() const { return window->view(); }
    QString path(const QString &strName) const { return env->path(strName); }

    void newWindow()
    {
        ToolKit::reset();
        window = std::make_unique<MainWindow>();
        files = new TestFiles(view(), window.get());
        commands = new DocumentCommands(window.get());
    }

    void addPage(int strokes)
    {
        view()->newPage();
        for (int i = 0; i < strokes; ++i)
            QVERIFY(view()->pushCommand(new AddCommand(
                view(), Pixels::line(QPointF(50, 50 + 10 * i), QPointF(250, 50 + 10 * i), 6))));
    }

    static bool isLoaded() { return ModuleLoader::isLoaded(QLatin1String(ZipLoader::ModuleName)); }

private Q_SLOTS:
    void init()
    {
        env = std::make_unique<TestEnvironment>();
        newWindow();
        AppState::instance().homePath = path(QString());
    }

    void cleanup()
    {
        window.reset();
        env.reset();
        qputenv("TAV_MODULE_DIR", modules);
    }

    // Runs first, before anything has loaded the module: a folder holding a
    // damaged module in its place, and nothing where the program looks.
    void missingModuleIsToldAndFilesStay()
    {
        QVERIFY(!modules.isEmpty());
        QTemporaryDir broken;
        QVERIFY(writeFile(
            QDir(broken.path()).filePath(QStringLiteral("lib%1.so").arg(ZipLoader::ModuleName)),
            "not a library"));
        qputenv("TAV_MODULE_DIR", QFile::encodeName(broken.path()));
        addPage(2);
        const QString zip = path(QStringLiteral("old.zip"));
        const QString document = path(QStringLiteral("old.tavelmark"));
        QVERIFY(writeFile(zip, "the old archive"));
        QVERIFY(writeFile(document, "the old document"));

        ModalAnswerer answerer;
        QVERIFY(!exported(commands,
                          [&] { commands->ExportToImage(zip, QStringLiteral("png"), false); }));
        files->saveAnswers = { document };
        QVERIFY(!documentSaved(files));
        QVERIFY(!openWhole(files, document));
        QCOMPARE(answerer.texts.size(), 3);
        for (const QString &text : std::as_const(answerer.texts))
            QVERIFY2(text.contains(QLatin1String("ZIP support could not be loaded")),
                     qPrintable(text));
        QCOMPARE(readFile(zip), QByteArray("the old archive"));
        QCOMPARE(readFile(document), QByteArray("the old document"));
        QCOMPARE(QDir(path(QString())).entryList(QDir::Files | QDir::Hidden).size(), 2);
        QCOMPARE(view()->document().pageCount(), 1);
        QVERIFY(!isLoaded());
    }

    // The window and its pages come up without the module; the first export
    // loads it, and documents written and read afterwards keep every page.
    void loadedOnFirstUse()
    {
        addPage(2);
        addPage(1);
        QVERIFY(!isLoaded());
        QVERIFY(!mapped(QStringLiteral("libquazip")));

        const QString zip = path(QStringLiteral("pages.zip"));
        QVERIFY(exported(commands,
                         [&] { commands->ExportToImage(zip, QStringLiteral("png"), false); }));
        QVERIFY(isLoaded());
        QVERIFY(mapped(QStringLiteral("libquazip")));
        QVERIFY(QFileInfo(zip).size() > 0);

        const QString document = path(QStringLiteral("lesson.tavelmark"));
        files->saveAnswers = { document };
        QVERIFY(documentSaved(files));
        newWindow();
        ModalAnswerer answerer;
        QVERIFY(openWhole(files, document));
        QCOMPARE(answerer.texts, QStringList());
        QCOMPARE(view()->document().pageCount(), 2);
        QCOMPARE(view()->document().pageList().at(0)->objects.size(), 2);
        QCOMPARE(view()->document().pageList().at(1)->objects.size(), 1);
    }
};

QTEST_MAIN(TestLazyZip)
#include "test_lazyzip.moc"
