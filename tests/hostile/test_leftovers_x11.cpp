#include "document/documentreader.h"
#include "document/documentsnapshot.h"
#include "document/documentwriter.h"
#include "document/mainpage.h"
#include "realprogram.h"
#include "testenvironment.h"
#include "x11probe.h"

#include <QtTest>

#include <memory>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

// What the real program leaves when things go wrong: a Save Document killed
// half-way leaves its hidden part file beside the document, which the next
// start (or save) removes, and nothing else; settings that cannot be
// written are told to the user once, not only logged.
class TestLeftoversX11 : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    bool mounted = false;

    static QStringList hiddenIn(const QString &strFolder, const QString &strPattern)
    {
        return QDir(strFolder).entryList({ strPattern }, QDir::Files | QDir::Hidden | QDir::System);
    }

    // One page of the screen's size with a picture background.
    QString writeDocument(const QString &strPath) const
    {
        AppState::instance().tempFolder = env->path(QStringLiteral("scratch/"));
        QDir().mkpath(AppState::instance().tempFolder);
        MainPage page(QGuiApplication::primaryScreen()->geometry().size(), false);
        QImage picture(page.pixelSize, QImage::Format_RGB32);
        picture.fill(QColor(40, 120, 200));
        if (!picture.save(MainPage::backgroundFile(page.id)))
            return QString();
        page.background = MainPage::PictureBackground;
        DocumentWriter writer;
        return writer.write(DocumentSnapshot::take({ &page }, 1), strPath, DocumentWriter::Embedded)
            ? strPath
            : QString();
    }

    // Ends the program the way a second start's "quit" does.
    static bool askToQuit()
    {
        QProcess quit;
        quit.start(QStringLiteral(TAV_PROGRAM),
                   { QStringLiteral("--action"), QStringLiteral("quit") });
        return quit.waitForFinished(15000) && quit.exitCode() == 0;
    }

    bool mountData(const char *options)
    {
        QDir().mkpath(env->dataFolder());
        mounted = ::mount("tmpfs", QFile::encodeName(env->dataFolder()).constData(), "tmpfs", 0,
                          options)
            == 0;
        return mounted;
    }

private Q_SLOTS:
    void init() { env = std::make_unique<TestEnvironment>(); }
    void cleanup()
    {
        if (std::exchange(mounted, false))
            ::umount2(QFile::encodeName(env->dataFolder()).constData(), MNT_DETACH);
        env.reset();
    }

    // The save is held while it reads the page's picture (a pipe stands in
    // for the file), so that it is killed with its part file on the disk.
    void killedSavesLeaveNoPartFiles()
    {
        X11Probe x11;
        const QString docs = env->path(QStringLiteral("docs"));
        QVERIFY(QDir().mkpath(docs));
        const QString document = writeDocument(docs + QStringLiteral("/lesson.tavelmark"));
        QVERIFY(!document.isEmpty());
        const QString temp = env->dataFolder() + QStringLiteral("/temp");
        const QString session = env->dataFolder() + QStringLiteral("/session/session.json");
        QString stale;
        QByteArray picture;
        {
            RealProgram program(*env);
            QVERIFY(program.start({}, { document }));
            TAV_TRY_VERIFY(RealProgram::fullScreenClientShown(x11, XCB_NONE), 15000);
            TAV_TRY_VERIFY(QFile::exists(session), 15000);
            const QStringList pages = hiddenIn(temp, QStringLiteral("page*.png"));
            QCOMPARE(pages.size(), 1);
            const QString pageFile = temp + QLatin1Char('/') + pages.first();
            picture = readFile(pageFile);
            QVERIFY(!picture.isEmpty());
            QVERIFY(QFile::remove(pageFile));
            QCOMPARE(::mkfifo(QFile::encodeName(pageFile).constData(), 0600), 0);
            RealProgram::key(QStringLiteral("ctrl+shift+s"));
            QTRY_COMPARE_WITH_TIMEOUT(
                hiddenIn(docs, QStringLiteral(".lesson.tavelmark.part-*")).size(), 1, 15000);
            stale = docs + QLatin1Char('/')
                + hiddenIn(docs, QStringLiteral(".lesson.tavelmark.part-*")).first();
            program.program.kill();
            QVERIFY(program.program.waitForFinished(15000));
            QVERIFY(QFile::remove(pageFile));
            QVERIFY(writeFile(pageFile, picture));
        }
        QVERIFY(QFile::exists(stale));
        // Names that are not of our exact pattern, and a part file a live
        // writer holds, are never touched.
        const QStringList kept
            = { docs + QStringLiteral("/.lesson.tavelmark.part-Ab3dE"),
                docs + QStringLiteral("/lesson.tavelmark.part-Ab3dE9"),
                docs + QStringLiteral("/.notes.txt.part-Ab3dE9"), docs + QStringLiteral("/held") };
        for (const QString &file : kept)
            QVERIFY(writeFile(file, "keep"));
        const QString live = docs + QStringLiteral("/.other.tavelmark.part-Live09");
        QVERIFY(writeFile(live, "being written"));
        const int writer = ::open(QFile::encodeName(live).constData(), O_RDWR);
        QCOMPARE(::flock(writer, LOCK_EX), 0);
        const QString journalPart
            = env->dataFolder() + QStringLiteral("/.session.tavelmark.part-St4le1");
        QVERIFY(writeFile(journalPart, "cut short"));

        // The next start offers the session; restored, its document's folder
        // is known and cleared at once, as is the data folder.
        RealProgram again(*env);
        QVERIFY(again.start({}));
        const QString recovered = env->dataFolder() + QStringLiteral("/recovered");
        TAV_TRY_VERIFY(QFileInfo::exists(recovered), 15000);
        TAV_TRY_VERIFY(
            [&] {
                if (QFileInfo::exists(recovered))
                    RealProgram::key(QStringLiteral("Return"));
                return !QFileInfo::exists(recovered);
            }(),
            15000);
        TAV_TRY_VERIFY(RealProgram::fullScreenClientShown(x11, XCB_NONE), 15000);
        QVERIFY(!QFile::exists(stale));
        QVERIFY(!QFile::exists(journalPart));
        for (const QString &file : kept)
            QVERIFY2(QFile::exists(file), qPrintable(file));
        QVERIFY(QFile::exists(live));

        // A save to the folder clears it as well, and leaves none of its own.
        QVERIFY(writeFile(stale, "partial"));
        const QDateTime before = QFileInfo(document).lastModified();
        RealProgram::key(QStringLiteral("ctrl+shift+s"));
        TAV_TRY_VERIFY(QFileInfo(document).lastModified() != before, 15000);
        QTRY_COMPARE(hiddenIn(docs, QStringLiteral(".lesson.tavelmark.part-*")),
                     QStringList { QStringLiteral(".lesson.tavelmark.part-Ab3dE") });
        QVERIFY(QFile::exists(live));
        ::close(writer);
        DocumentReader reader;
        const QList<MainPage *> pages = reader.read(document);
        QCOMPARE(pages.size(), 1);
        qDeleteAll(pages);
    }

    // A folder in the settings file's place is told at the start, and not
    // again at quit; a disk that fills while the program runs is told at
    // quit, once, and the file keeps what it held.
    void unsavedSettingsAreToldOnce()
    {
        QVERIFY(QDir().mkpath(env->dataFolder() + QStringLiteral("/Setting.ini")));
        QProcess blocked;
        QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
        e.remove(QStringLiteral("TAV_PLATFORM"));
        blocked.setProcessEnvironment(e);
        blocked.start(QStringLiteral(TAV_PROGRAM));
        QVERIFY(blocked.waitForStarted());
        const QString title = QStringLiteral("Quillbury Tavelmark");
        TAV_TRY_VERIFY(RealProgram::windowCount(title) == 2, 15000);
        RealProgram::key(QStringLiteral("Return"));
        QTRY_COMPARE_WITH_TIMEOUT(RealProgram::windowCount(title), 1, 10000);
        QVERIFY(askToQuit());
        QVERIFY2(blocked.waitForFinished(15000), "a question held the quit");
        const QByteArray said = blocked.readAllStandardError();
        QCOMPARE(said.count("The settings cannot be saved in"), 1);
        QVERIFY(
            said.contains(QFile::encodeName(env->dataFolder() + QStringLiteral("/Setting.ini"))));
        QVERIFY(QDir(env->dataFolder()).removeRecursively());

        if (!mountData("size=512k"))
            QSKIP("A full disk needs a mount, which is refused here.");
        RealProgram program(*env);
        QVERIFY(program.start({}));
        QVERIFY2(!program.toolbar().isEmpty(), "the toolbar never showed");
        const QByteArray settings = readFile(env->dataFolder() + QStringLiteral("/Setting.ini"));
        QFile filler(env->dataFolder() + QStringLiteral("/filler"));
        QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        while (filler.write(QByteArray(4096, 'f')) > 0) { }
        QVERIFY(askToQuit());
        // The toolbar goes, the failed save is logged, and a box asks to be read.
        QByteArray logged;
        TAV_TRY_VERIFY((logged += program.program.readAllStandardError()).contains("Cannot write")
                           && RealProgram::windowCount(title) == 1,
                       15000);
        QCOMPARE(program.program.state(), QProcess::Running);
        RealProgram::key(QStringLiteral("Return"));
        QVERIFY2(program.program.waitForFinished(15000), "the program did not end");
        QCOMPARE(readFile(env->dataFolder() + QStringLiteral("/Setting.ini")), settings);
    }
};

QTEST_MAIN(TestLeftoversX11)
#include "test_leftovers_x11.moc"
