#include "httpserver.h"
#include "testenvironment.h"
#include "update/detailanim.h"
#include "update/updatedescription.h"
#include "update/updatedlg.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QLabel>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QTextBrowser>
#include <QTimer>
#include <QtTest>

#include <memory>

// Keeps the addresses the program asks the desktop to open.
class UrlCatcher : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> urls;
public Q_SLOTS:
    void open(const QUrl &url) { urls.append(url); }
};

// The update check against a local server: finding a release, refusing bad
// descriptions, and downloading the package whole or not at all.
class TestUpdate : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    std::unique_ptr<HttpServer> server;
    std::unique_ptr<UpdateDlg> dlg;
    const QByteArray packagePath = "/tavelmark/linux/tavelmark_9.0.0_amd64.deb";

    static QByteArray description(const QByteArray &version, const QByteArray &file)
    {
        return "<?xml version=\"1.0\"?><mainDoc version=\"" + version + "\" filename=\"" + file
            + "\"><title>Tavelmark " + version
            + "</title><item>Faster pages</item>"
              "<item>A &lt;b&gt;bold&lt;/b&gt; fix</item><date>2026-11-02</date></mainDoc>";
    }

    void serveDescription(const QByteArray &body, int code = 200)
    {
        server->answer("/tavelmark/linux/tavelmarkupdate.xml", HttpServer::http(code, body));
    }

    QString status() const { return dlg->findChild<QLabel *>(QStringLiteral("status"))->text(); }
    QString notes() const
    {
        return dlg->findChild<QTextBrowser *>(QStringLiteral("notes"))->toPlainText();
    }
    QPushButton *downloadBtn() const
    {
        return dlg->findChild<QPushButton *>(QStringLiteral("download"));
    }

    void check(const QString &expectedStatus)
    {
        dlg = std::make_unique<UpdateDlg>(nullptr, QUrl(server->base()));
        dlg->show();
        QTRY_VERIFY(dlg->findChild<DetailAnim *>()->state() != DetailAnim::Loading);
        QCOMPARE(status(), expectedStatus);
    }

    QString target() const
    {
        return QDir(AppState::instance().dataFolder).filePath("tavelmark_9.0.0_amd64.deb");
    }
    QStringList folderEntries() const
    {
        return QDir(AppState::instance().dataFolder).entryList(QDir::Files | QDir::Hidden);
    }
    QByteArray targetBytes() const
    {
        QFile f(target());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<none>");
    }
    void writeOldPackage()
    {
        QDir().mkpath(AppState::instance().dataFolder);
        QFile old(target());
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old package");
    }

    static QByteArray packageBody()
    {
        QByteArray body;
        for (int i = 0; i < 300000; ++i)
            body.append(char('a' + i % 26));
        return body;
    }

    // Answers the next message box with `answer` and keeps its informative text.
    void answerBox(QMessageBox::StandardButton answer, QString *text)
    {
        auto *timer = new QTimer(dlg.get());
        timer->setInterval(5);
        connect(timer, &QTimer::timeout, timer, [timer, answer, text] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                *text = box->informativeText();
                box->button(answer)->click();
                timer->deleteLater();
            }
        });
        timer->start();
    }

private Q_SLOTS:
    void init()
    {
        env = std::make_unique<TestEnvironment>();
        AppState::instance().dataFolder = env->dataFolder();
        QCoreApplication::setApplicationVersion(QStringLiteral("1.2.3.570"));
        server = std::make_unique<HttpServer>();
        QVERIFY(server->isListening());
    }

    void cleanup()
    {
        dlg.reset();
        server.reset();
        env.reset();
    }

    void versionCodes()
    {
        using D = UpdateDescription;
        QVERIFY(D::versionCode("2.0.0") > D::versionCode("1.9.9"));
        QCOMPARE(D::versionCode("1.2.3.570"), 10203);
        QCOMPARE(D::versionCode("1.2"), 0);
        QCOMPARE(D::versionCode("1.100.0"), D::versionCode("1.0.0"));
        QCOMPARE(D::versionCode("x.2.3"), 203);
        QVERIFY(D::isWellFormedVersion("1.2.3.4"));
        for (const char *bad : { "1.2", "1..2.3", "1.2.3-beta", " ", "1.2.3\n<b>", "-1.2.3" })
            QVERIFY2(!D::isWellFormedVersion(bad), bad);
        QVERIFY(D::isSafeFileName("tavelmark_9.0.0_amd64.deb"));
        for (const char *bad :
             { "../x.deb", "/etc/passwd", ".hidden", "a/b", "a..b", "C:\\x.exe", "http://host/x" })
            QVERIFY2(!D::isSafeFileName(bad), bad);
    }

    void notesFollowTheDocumentOrder()
    {
        const UpdateDescription d = UpdateDescription::parse(
            "<root><date>d1</date><x><title>T</title></x><item>i1</item>"
            "<mainDoc version=\"2.0.0\" filename=\"\"/><item>i2</item></root>");
        QCOMPARE(d.problem, UpdateDescription::None);
        QCOMPARE(d.version, QStringLiteral("2.0.0"));
        QCOMPARE(d.notes, QStringLiteral("\nd1\nT\n\ni1\ni2\n"));
        QCOMPARE(UpdateDescription::parse("<mainDoc version=\"2.0.0\"><item>x</mainDoc>").problem,
                 UpdateDescription::Damaged);
        QCOMPARE(UpdateDescription::parse("").problem, UpdateDescription::Damaged);
    }

    void newerReleaseOffersTheDownload()
    {
        serveDescription(description("9.0.0", "tavelmark_9.0.0_amd64.deb"));
        check("A new version(9.0.0) is available.");
        QVERIFY(downloadBtn()->isEnabled());
        QCOMPARE(downloadBtn()->text(), QStringLiteral("Download"));
        // Markup from the server stays text.
        QVERIFY(
            notes().contains("Tavelmark 9.0.0\n\nFaster pages\nA <b>bold</b> fix\n\n2026-11-02\n"));

        // The arrow opens and closes the notes.
        auto *arrow = dlg->findChild<DetailAnim *>();
        auto *view = dlg->findChild<QTextBrowser *>();
        QVERIFY(!view->isVisible());
        QTest::mouseClick(arrow, Qt::LeftButton);
        QVERIFY(view->isVisible());
        QTest::mouseClick(arrow, Qt::LeftButton);
        QVERIFY(!view->isVisible());
    }

    void sameOrOlderReleaseOffersNothing()
    {
        for (const QByteArray &version :
             { QByteArray("1.2.3"), QByteArray("1.1.9"), QByteArray("1.102.3") }) {
            serveDescription(description(version, "tavelmark.deb"));
            check("No new version available.");
            QVERIFY(!downloadBtn()->isEnabled());
            QCOMPARE(notes(), QStringLiteral("There is no new version available at this time!\n"));
        }
    }

    void badDescriptionsAreRefused_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("reason");
        QTest::newRow("http error")
            << description("9.0.0", "a.deb") << 500 << "Network disconnection!";
        QTest::newRow("not xml") << QByteArray("<mainDoc version=\"9.0.0\"><oops>") << 200
                                 << "The update description is damaged!";
        QTest::newRow("no version")
            << QByteArray("<mainDoc filename=\"a.deb\"/>") << 200 << "Get null version from web!";
        QTest::newRow("short version")
            << description("9.0", "a.deb") << 200 << "Get invalid version from web!";
        QTest::newRow("hostile file")
            << description("9.0.0", "../../.profile") << 200 << "Get invalid file name from web!";
        QTest::newRow("huge") << description("9.0.0", "a.deb") + QByteArray(3 << 20, ' ') << 200
                              << "The update description is too large!";
    }

    void badDescriptionsAreRefused()
    {
        QFETCH(QByteArray, body);
        QFETCH(int, code);
        QFETCH(QString, reason);
        serveDescription(body, code);
        check("Check for available updates failed.");
        QCOMPARE(notes(), QStringLiteral("Error code:\n%1\n").arg(reason));
        QVERIFY(!downloadBtn()->isEnabled());
    }

    void releaseWithoutFileOpensTheWebPage()
    {
        UrlCatcher catcher;
        QDesktopServices::setUrlHandler("http", &catcher, "open");
        serveDescription(description("9.0.0", ""));
        check("A new version(9.0.0) is available.");
        QCOMPARE(downloadBtn()->text(), QStringLiteral("Web"));
        QTest::mouseClick(downloadBtn(), Qt::LeftButton);
        QDesktopServices::unsetUrlHandler("http");
        QCOMPARE(catcher.urls, QList<QUrl>({ QUrl(server->base() + "/") }));
        QVERIFY(!dlg->isVisible());
        QCOMPARE(dlg->result(), int(QDialog::Rejected));
    }

    // Until the last byte is in, the old package stays whole under its name.
    void downloadReplacesThePackageAtomically()
    {
        writeOldPackage();
        const QByteArray body = packageBody();
        const QByteArray response = HttpServer::http(200, body);
        server->answer(packagePath, HttpServer::Response { response, response.size() / 2 });
        serveDescription(description("9.0.0", "tavelmark_9.0.0_amd64.deb"));
        check("A new version(9.0.0) is available.");
        QTest::mouseClick(downloadBtn(), Qt::LeftButton);
        QVERIFY(!downloadBtn()->isEnabled());
        QTRY_VERIFY(dlg->findChild<QProgressDialog *>()->value() > 0);
        QCOMPARE(targetBytes(), QByteArray("old package"));

        server->release();
        QTRY_COMPARE(status(), QStringLiteral("Download finish."));
        QCOMPARE(targetBytes(), body);
        QCOMPARE(folderEntries(), QStringList({ "tavelmark_9.0.0_amd64.deb" }));
        QCOMPARE(downloadBtn()->text(), QStringLiteral("Apply"));
        QCOMPARE(notes(), QStringLiteral("Press [Apply] button to apply update."));
        QTest::mouseClick(downloadBtn(), Qt::LeftButton);
        QCOMPARE(dlg->result(), int(QDialog::Accepted));
        QCOMPARE(dlg->downloadedFile(), target());

        // On this system the package is shown in its folder, never run.
        UrlCatcher catcher;
        QDesktopServices::setUrlHandler("file", &catcher, "open");
        QVERIFY(UpdateDlg::startInstaller(dlg->downloadedFile()));
        QDesktopServices::unsetUrlHandler("file");
        QCOMPARE(catcher.urls, QList<QUrl>({ QUrl::fromLocalFile(env->dataFolder()) }));
    }

    void failedDownloadsLeaveNoPartialFile_data()
    {
        QTest::addColumn<QByteArray>("response");
        QTest::addColumn<int>("cutAt");
        const QByteArray full = HttpServer::http(200, packageBody());
        QTest::newRow("cut short") << full << full.size() / 2;
        QTest::newRow("not found") << HttpServer::http(404, "gone") << -1;
    }

    void failedDownloadsLeaveNoPartialFile()
    {
        QFETCH(QByteArray, response);
        QFETCH(int, cutAt);
        writeOldPackage();
        server->answer(packagePath, HttpServer::Response { response, cutAt, true });
        serveDescription(description("9.0.0", "tavelmark_9.0.0_amd64.deb"));
        check("A new version(9.0.0) is available.");
        QTest::mouseClick(downloadBtn(), Qt::LeftButton);
        QTRY_VERIFY(status().startsWith("Download failed: "));
        QCOMPARE(targetBytes(), QByteArray("old package"));
        QCOMPARE(folderEntries(), QStringList({ "tavelmark_9.0.0_amd64.deb" }));
        QVERIFY(downloadBtn()->isEnabled());
        QVERIFY(dlg->downloadedFile().isEmpty());
    }

    void cancellingEndsTheDownload()
    {
        const QByteArray response = HttpServer::http(200, packageBody());
        server->answer(packagePath, HttpServer::Response { response, response.size() / 3 });
        serveDescription(description("9.0.0", "tavelmark_9.0.0_amd64.deb"));
        check("A new version(9.0.0) is available.");
        QTest::mouseClick(downloadBtn(), Qt::LeftButton);
        auto *progress = dlg->findChild<QProgressDialog *>();
        QTRY_VERIFY(progress->value() > 0);
        QTest::mouseClick(progress->findChild<QPushButton *>(), Qt::LeftButton);
        QCOMPARE(status(), QStringLiteral("Download canceled."));
        QTRY_VERIFY(!progress->isVisible());
        QVERIFY(downloadBtn()->isEnabled());
        QCOMPARE(folderEntries(), QStringList());

        // A second try starts over and completes.
        server->answer(packagePath, HttpServer::http(200, "complete"));
        QTest::mouseClick(downloadBtn(), Qt::LeftButton);
        QTRY_COMPARE(status(), QStringLiteral("Download finish."));
        QCOMPARE(targetBytes(), QByteArray("complete"));
    }

    void redirectsAreFollowedOnlyWhenAgreed()
    {
        server->answer(packagePath,
                       HttpServer::http(302, "", "Location: /mirror/tavelmark.deb\r\n"));
        server->answer("/mirror/tavelmark.deb", HttpServer::http(200, "mirrored"));
        serveDescription(description("9.0.0", "tavelmark_9.0.0_amd64.deb"));
        check("A new version(9.0.0) is available.");

        QString asked;
        answerBox(QMessageBox::No, &asked);
        QTest::mouseClick(downloadBtn(), Qt::LeftButton);
        QTRY_COMPARE(asked,
                     QStringLiteral("Redirect to http://127.0.0.1:%1/mirror/tavelmark.deb ?")
                         .arg(server->serverPort()));
        QTRY_VERIFY(server->requests == 2);
        QCOMPARE(status(), QStringLiteral("A new version(9.0.0) is available."));
        QVERIFY(!downloadBtn()->isEnabled());
        QCOMPARE(folderEntries(), QStringList());

        dlg.reset();
        check("A new version(9.0.0) is available.");
        answerBox(QMessageBox::Yes, &asked);
        QTest::mouseClick(downloadBtn(), Qt::LeftButton);
        QTRY_COMPARE(status(), QStringLiteral("Download finish."));
        QCOMPARE(targetBytes(), QByteArray("mirrored"));
    }

    void redirectsOffTheWebAreRefused()
    {
        server->answer(packagePath, HttpServer::http(302, "", "Location: file:///etc/passwd\r\n"));
        serveDescription(description("9.0.0", "tavelmark_9.0.0_amd64.deb"));
        check("A new version(9.0.0) is available.");
        QTest::mouseClick(downloadBtn(), Qt::LeftButton);
        QTRY_COMPARE(status(), QStringLiteral("Download failed: file:///etc/passwd."));
        QVERIFY(downloadBtn()->isEnabled());
        QCOMPARE(folderEntries(), QStringList());
    }

    void unwritableFolderIsReported()
    {
        QFile blocker(env->path("blocker"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        AppState::instance().dataFolder = env->path("blocker/sub");
        serveDescription(description("9.0.0", "tavelmark_9.0.0_amd64.deb"));
        check("A new version(9.0.0) is available.");
        QTest::mouseClick(downloadBtn(), Qt::LeftButton);
        QVERIFY2(status().startsWith("Unable to save the file tavelmark_9.0.0_amd64.deb: "),
                 qPrintable(status()));
        QVERIFY(downloadBtn()->isEnabled());
        QCOMPARE(server->requests, 1);
    }
};

QTEST_MAIN(TestUpdate)
#include "test_update.moc"
