#include "app/moduleloader.h"
#include "httpserver.h"
#include "modalanswerer.h"
#include "tabround.h"
#include "testenvironment.h"
#include "update/detailanim.h"
#include "update/packagecheck.h"
#include "update/updatedescription.h"
#include "update/updatedlg.h"
#include "update/webloader.h"
#include "urlcatcher.h"

#include <QAccessible>
#include <QApplication>
#include <QCryptographicHash>
#include <QDesktopServices>
#include <QDir>
#include <QLabel>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QTextBrowser>
#include <QtTest>

#include <memory>

// The update check against a local server: finding a release, refusing bad
// descriptions, and downloading the package whole or not at all.
class TestUpdate : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    std::unique_ptr<HttpServer> server;
    std::unique_ptr<UpdateDlg> dlg;
    const QByteArray package = "/tavelmark/linux/tavelmark_9.0.0_amd64.deb";
    const QByteArray body = QByteArray(300000, 'p');

    static QByteArray description(const QByteArray &version, const QByteArray &file,
                                  const QByteArray &sha256 = {})
    {
        return "<?xml version=\"1.0\"?><mainDoc version=\"" + version + "\" filename=\"" + file
            + "\"><title>Tavelmark " + version
            + "</title><item>Faster pages</item><item>A &lt;b&gt;bold&lt;/b&gt; fix</item>"
              "<date>2026-11-02</date>"
            + (sha256.isEmpty() ? QByteArray() : "<sha256>" + sha256 + "</sha256>") + "</mainDoc>";
    }
    static QByteArray sha256(const QByteArray &bytes)
    {
        return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
    }

    // Opens the dialog against a server describing `xml` and waits for its verdict.
    void check(const QByteArray &xml, const QString &expected, int code = 200)
    {
        server->answer("/tavelmark/linux/tavelmarkupdate.xml", { HttpServer::http(code, xml) });
        dlg = std::make_unique<UpdateDlg>(nullptr, QUrl(server->base()));
        dlg->show();
        QTRY_VERIFY(dlg->findChild<DetailAnim *>()->state() != DetailAnim::Loading);
        QCOMPARE(status(), expected);
    }
    // A newer release whose package is `payload` (its checksum in the description).
    void checkNewRelease(const QByteArray &payload, const UpdateDlg::Limits &limits = {})
    {
        server->answer(
            "/tavelmark/linux/tavelmarkupdate.xml",
            { HttpServer::http(200, description("9.0.0", package.mid(17), sha256(payload))) });
        dlg = std::make_unique<UpdateDlg>(nullptr, QUrl(server->base()), limits);
        dlg->show();
        QTRY_COMPARE(status(), QStringLiteral("A new version(9.0.0) is available."));
    }

    QString status() const { return dlg->findChild<QLabel *>("status")->text(); }
    QString notes() const { return dlg->findChild<QTextBrowser *>("notes")->toPlainText(); }
    QPushButton *button() const { return dlg->findChild<QPushButton *>("download"); }
    QProgressDialog *progress() const { return dlg->findChild<QProgressDialog *>(); }

    QString target() const { return env->dataFolder() + "/tavelmark_9.0.0_amd64.deb"; }
    QStringList files() const { return QDir(env->dataFolder()).entryList(QDir::Files); }
    QByteArray targetBytes() const { return readFile(target()); }
    void writeOldPackage()
    {
        QDir().mkpath(env->dataFolder());
        QVERIFY(writeFile(target(), "old"));
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

    // Runs first, before anything has loaded the network module: without it
    // the check says so and asks nothing of the server; once it is there, a
    // later check loads it and works.
    void missingModuleIsTold()
    {
        const QString name = QLatin1String(WebLoader::ModuleName);
        QVERIFY(!ModuleLoader::isLoaded(name));
        const QByteArray modules = qgetenv("TAV_MODULE_DIR");
        QTemporaryDir broken;
        QVERIFY(writeFile(QDir(broken.path()).filePath(QStringLiteral("lib%1.so").arg(name)),
                          "not a library"));
        qputenv("TAV_MODULE_DIR", QFile::encodeName(broken.path()));
        server->answer("/tavelmark/linux/tavelmarkupdate.xml",
                       { HttpServer::http(200, description("9.0.0", package.mid(17))) });
        dlg = std::make_unique<UpdateDlg>(nullptr, QUrl(server->base()));
        qputenv("TAV_MODULE_DIR", modules);
        QCOMPARE(status(), QStringLiteral("Check for available updates failed."));
        QCOMPARE(notes(),
                 QStringLiteral("The network support could not be loaded; reinstalling "
                                "Tavelmark may repair it.\n"));
        QVERIFY(!button()->isEnabled());
        QVERIFY(dlg->findChild<DetailAnim *>()->state() != DetailAnim::Loading);
        QCOMPARE(server->requests, 0);

        check(description("9.0.0", package.mid(17)),
              QStringLiteral("A new version(9.0.0) is available."));
        QVERIFY(ModuleLoader::isLoaded(name));
    }

    void descriptionRules()
    {
        using D = UpdateDescription;
        QVERIFY(D::versionCode("2.0.0") > D::versionCode("1.9.9"));
        QCOMPARE(D::versionCode("1.2.3.570"), 10203);
        QCOMPARE(D::versionCode("1.2"), 0);
        QCOMPARE(D::versionCode("1.100.0"), D::versionCode("1.0.0"));
        QCOMPARE(D::versionCode("x.2.3"), 203);
        QVERIFY(D::isWellFormedVersion("1.2.3.4"));
        QVERIFY(D::isWellFormedVersion("1.2"));
        for (const char *bad : { "1..2.3", "1.2.3-beta", "1.2.3\n<b>", "-1.2.3" })
            QVERIFY2(!D::isWellFormedVersion(bad), bad);
        QVERIFY(D::isSafeFileName("tavelmark_9.0.0_amd64.deb"));
        const D d = D::parse("<r><date>d1</date><x><title>T</title></x><item>i1</item>"
                             "<mainDoc version=\"2.0.0\" filename=\"\"/><item>i2</item></r>");
        QCOMPARE(d.notes, QStringLiteral("\nd1\nT\n\ni1\ni2\n"));
        for (const char *bad :
             { "../x.deb", "/etc/passwd", ".hidden", "a/b", "C:\\x", "http://h/x" })
            QVERIFY2(!D::isSafeFileName(bad), bad);
    }

    void newerReleaseOffersTheDownload()
    {
        checkNewRelease(body);
        QVERIFY(button()->isEnabled());
        QCOMPARE(button()->text(), QStringLiteral("Download"));
        // Markup from the server stays text.
        QCOMPARE(notes(), "Tavelmark 9.0.0\n\nFaster pages\nA <b>bold</b> fix\n\n2026-11-02\n");

        auto *arrow = dlg->findChild<DetailAnim *>();
        auto *notesView = dlg->findChild<QTextBrowser *>();
        QTest::mouseClick(arrow, Qt::LeftButton);
        QVERIFY(notesView->isVisible());
        QTest::mouseClick(arrow, Qt::LeftButton);
        QVERIFY(!notesView->isVisible());

        // The same by keyboard alone, the arrow read as a named toggle.
        TabRound::showActive(*dlg);
        arrow->setFocus(Qt::TabFocusReason);
        QTest::keyClick(arrow, Qt::Key_Space);
        QVERIFY(notesView->isVisible());
        QAccessibleInterface *toggle = QAccessible::queryAccessibleInterface(arrow);
        QCOMPARE(toggle->text(QAccessible::Name), QStringLiteral("Release notes"));
        QVERIFY(toggle->state().checkable && toggle->state().checked);
        TabRound::check(*dlg);
    }

    void sameOrOlderReleaseOffersNothing()
    {
        // A short version reads as code 0, older than any.
        for (const QByteArray &version : { "1.2.3", "1.1.9", "1.102.3", "9.0" }) {
            check(description(version, "t.deb"), "No new version available.");
            QVERIFY(!button()->isEnabled());
            QCOMPARE(notes(), QStringLiteral("There is no new version available at this time!\n"));
        }
    }

    void badDescriptionsAreRefused_data()
    {
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("reason");
        const QByteArray good = description("9.0.0", "a.deb");
        QTest::newRow("http error") << good << 500 << "Error code: 500\nNetwork disconnection!\n";
        QTest::newRow("not xml") << good.chopped(3) << 200
                                 << "The update description is damaged!\n";
        QTest::newRow("no version")
            << QByteArray("<mainDoc/>") << 200 << "Get null version from web!\n";
        QTest::newRow("bad version")
            << description("9.0-beta", "a.deb") << 200 << "Get invalid version from web!\n";
        QTest::newRow("hostile file")
            << description("9.0.0", "../../.profile") << 200 << "Get invalid file name from web!\n";
        QTest::newRow("bad checksum")
            << description("9.0.0", "a.deb", "abc") << 200 << "Get invalid checksum from web!\n";
        QTest::newRow("huge") << good + QByteArray(3 << 20, ' ') << 200
                              << "The update description is too large!\n";
    }

    void badDescriptionsAreRefused()
    {
        QFETCH(QByteArray, xml);
        QFETCH(int, code);
        QFETCH(QString, reason);
        check(xml, "Check for available updates failed.", code);
        QCOMPARE(notes(), reason);
        QVERIFY(!button()->isEnabled());
    }

    void releaseWithoutFileOpensTheWebPage()
    {
        UrlCatcher catcher(QStringLiteral("http"));
        check(description("9.0.0", ""), "A new version(9.0.0) is available.");
        QCOMPARE(button()->text(), QStringLiteral("Web"));
        QTest::mouseClick(button(), Qt::LeftButton);
        QCOMPARE(catcher.urls, QList<QUrl>({ QUrl(server->base() + "/") }));
        QCOMPARE(dlg->result(), int(QDialog::Rejected));
    }

    // Until the last byte is in, the old package stays whole under its name.
    void downloadReplacesThePackageAtomically()
    {
        writeOldPackage();
        const QByteArray response = HttpServer::http(200, body);
        server->answer(package, { response, int(response.size()) / 2 });
        checkNewRelease(body);
        QTest::mouseClick(button(), Qt::LeftButton);
        QVERIFY(!button()->isEnabled());
        QTRY_VERIFY(progress()->value() > 0);
        QCOMPARE(targetBytes(), QByteArray("old"));

        server->release();
        QTRY_COMPARE(status(), QStringLiteral("Download finish."));
        QCOMPARE(targetBytes(), body);
        QCOMPARE(files(), QStringList({ "tavelmark_9.0.0_amd64.deb" }));
        QCOMPARE(notes(), QStringLiteral("Press [Apply] button to apply update."));
        QCOMPARE(button()->text(), QStringLiteral("Apply"));
        QTest::mouseClick(button(), Qt::LeftButton);
        QCOMPARE(dlg->result(), int(QDialog::Accepted));
        QCOMPARE(dlg->downloadedFile(), target());

        // Here the package is shown in its folder, never run.
        UrlCatcher catcher(QStringLiteral("file"));
        QVERIFY(UpdateDlg::startInstaller(dlg->downloadedFile()));
        QCOMPARE(catcher.urls, QList<QUrl>({ QUrl::fromLocalFile(env->dataFolder()) }));
    }

    // Cut short, refused, changed on the way or past the size cap (announced
    // or not): the old package stays whole under its name, and the download
    // can be tried again.
    void failedDownloadsKeepTheOldPackage_data()
    {
        QTest::addColumn<QByteArray>("response");
        QTest::addColumn<int>("holdAfter");
        QTest::addColumn<QString>("reason");
        const QByteArray full = HttpServer::http(200, body);
        QByteArray changed = body;
        changed[1000] = 'q';
        const QByteArray big(3 << 20, 'p');
        const QString tooLarge = QStringLiteral("the package is larger than 2 MB.");
        QTest::newRow("cut short") << full << int(full.size()) / 2 << QString();
        QTest::newRow("not found") << HttpServer::http(404, "gone") << -1 << QString();
        QTest::newRow("changed") << HttpServer::http(200, changed) << -1
                                 << QStringLiteral(
                                        "the package does not match its SHA-256 checksum.");
        QTest::newRow("announced too large") << HttpServer::http(200, big) << -1 << tooLarge;
        QTest::newRow("too large")
            << "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n" + big << -1 << tooLarge;
    }

    void failedDownloadsKeepTheOldPackage()
    {
        QFETCH(QByteArray, response);
        QFETCH(int, holdAfter);
        QFETCH(QString, reason);
        writeOldPackage();
        server->answer(package, { response, holdAfter, true });
        UpdateDlg::Limits limits;
        limits.maxPackageBytes = 2 << 20;
        checkNewRelease(body, limits);
        QTest::mouseClick(button(), Qt::LeftButton);
        QTRY_VERIFY(status().startsWith("Download failed: "));
        QVERIFY2(status().endsWith(reason), qPrintable(status()));
        QCOMPARE(targetBytes(), QByteArray("old"));
        QCOMPARE(files().size(), 1);
        QVERIFY(button()->isEnabled());
        QVERIFY(dlg->downloadedFile().isEmpty());
    }

    void cancellingEndsTheDownload()
    {
        const QByteArray response = HttpServer::http(200, body);
        server->answer(package, { response, int(response.size()) / 3 });
        checkNewRelease(body);
        QTest::mouseClick(button(), Qt::LeftButton);
        QTRY_VERIFY(progress()->value() > 0);
        QTest::mouseClick(progress()->findChild<QPushButton *>(), Qt::LeftButton);
        QCOMPARE(status(), QStringLiteral("Download canceled."));
        QTRY_VERIFY(!progress()->isVisible());
        QVERIFY(button()->isEnabled());
        QCOMPARE(files(), QStringList());

        // A second try starts over.
        server->answer(package, { HttpServer::http(200, body) });
        QTest::mouseClick(button(), Qt::LeftButton);
        QTRY_COMPARE(status(), QStringLiteral("Download finish."));
        QCOMPARE(targetBytes(), body);
    }

    void redirectsAreFollowedOnlyWhenAgreed()
    {
        server->answer(package, { HttpServer::http(302, "", "Location: /mirror/t.deb\r\n") });
        server->answer("/mirror/t.deb", { HttpServer::http(200, "mirrored") });
        checkNewRelease(body);
        {
            ModalAnswerer refuse(QMessageBox::No);
            QTest::mouseClick(button(), Qt::LeftButton);
            QTRY_COMPARE(refuse.texts.size(), 1);
            QVERIFY(refuse.texts[0].endsWith(
                QString("\nRedirect to %1/mirror/t.deb ?").arg(server->base().chopped(10))));
        }
        // Said as such, and the download can be tried again.
        QCOMPARE(status(),
                 QStringLiteral("The download was stopped: it was sent on to %1/mirror/t.deb.")
                     .arg(server->base().chopped(10)));
        QVERIFY(button()->isEnabled());
        QCOMPARE(files(), QStringList());

        checkNewRelease("mirrored");
        ModalAnswerer agree(QMessageBox::Yes);
        QTest::mouseClick(button(), Qt::LeftButton);
        QTRY_COMPARE(status(), QStringLiteral("Download finish."));
        QCOMPARE(targetBytes(), QByteArray("mirrored"));

        // Never off the web.
        server->answer(package, { HttpServer::http(302, "", "Location: file:///etc/passwd\r\n") });
        checkNewRelease(body);
        QTest::mouseClick(button(), Qt::LeftButton);
        QTRY_COMPARE(status(), QStringLiteral("Download failed: file:///etc/passwd."));
        QVERIFY(button()->isEnabled());
    }

    // The description is only fetched from its own server, and says so.
    void descriptionRedirectsElsewhereAreSaid()
    {
        const QByteArray elsewhere
            = "http://localhost:" + QByteArray::number(server->serverPort()) + "/x.xml";
        server->answer("/tavelmark/linux/tavelmarkupdate.xml",
                       { HttpServer::http(301, "", "Location: " + elsewhere + "\r\n") });
        dlg = std::make_unique<UpdateDlg>(nullptr, QUrl(server->base()));
        QTRY_COMPARE(status(), QStringLiteral("Check for available updates failed."));
        QVERIFY2(notes().contains(QStringLiteral("another address")), qPrintable(notes()));
    }

    // A byte now and then keeps the idle timeout quiet; the deadline ends it.
    void requestsMeetTheirDeadline()
    {
        const QByteArray slow = HttpServer::http(200, description("9.0.0", package.mid(17)));
        server->answer("/tavelmark/linux/tavelmarkupdate.xml", { slow, 20, false, 100 });
        UpdateDlg::Limits limits;
        limits.descriptionDeadlineMs = 800;
        dlg = std::make_unique<UpdateDlg>(nullptr, QUrl(server->base()), limits);
        QTRY_COMPARE_WITH_TIMEOUT(status(), QStringLiteral("Check for available updates failed."),
                                  5000);
        QVERIFY2(notes().contains(QStringLiteral("did not answer in time")), qPrintable(notes()));

        limits.packageDeadlineMs = 800;
        const QByteArray response = HttpServer::http(200, body);
        server->answer(package, { response, 1000, false, 100 });
        checkNewRelease(body, limits);
        QTest::mouseClick(button(), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(
            status(), QStringLiteral("Download failed: the server did not send it in time."), 5000);
        QVERIFY(button()->isEnabled());
        QCOMPARE(files(), QStringList());
    }

    void packageCheckRules()
    {
        const QByteArray good = sha256("x");
        QVERIFY(PackageCheck::isWellFormed(good));
        QVERIFY(PackageCheck::isWellFormed(good.toUpper()));
        for (const QByteArray &bad :
             { good.chopped(1), good + "0", "g" + good.mid(1), QByteArray() })
            QVERIFY2(!PackageCheck::isWellFormed(bad), bad);

        const PackageCheck unchecked;
        QVERIFY(!unchecked.refuses(QUrl("https://h/p.deb")));
        QVERIFY(unchecked.refuses(QUrl("http://h/p.deb")));
        QVERIFY(unchecked.refuses(QUrl("HTTP://h/p.deb")));
        PackageCheck checked(good);
        QVERIFY(!checked.refuses(QUrl("http://h/p.deb")));

        // Fed in pieces, restarted for a second try.
        checked.addData("y");
        QVERIFY(!checked.matches());
        checked.restart();
        QVERIFY(!checked.matches());
        checked.addData("x");
        QVERIFY(checked.matches());
    }

    // Over plain http nothing can prove a package whole without a checksum.
    void plainHttpWithoutChecksumIsRefused()
    {
        server->answer("/tavelmark/linux/tavelmarkupdate.xml",
                       { HttpServer::http(200, description("9.0.0", package.mid(17))) });
        server->answer(package, { HttpServer::http(200, body) });
        dlg = std::make_unique<UpdateDlg>(nullptr, QUrl(server->base()));
        QTRY_COMPARE(status(), QStringLiteral("A new version(9.0.0) is available."));
        QTest::mouseClick(button(), Qt::LeftButton);
        QCOMPARE(status(),
                 QStringLiteral("Download failed: the package would come over plain http without "
                                "a SHA-256 checksum."));
        QVERIFY(!button()->isEnabled());
        QCOMPARE(server->requests, 1);
        QCOMPARE(files(), QStringList());
    }

    void unwritableFolderIsReported()
    {
        QVERIFY(writeFile(env->path("blocker"), QByteArray()));
        AppState::instance().dataFolder = env->path("blocker/sub");
        checkNewRelease(body);
        QTest::mouseClick(button(), Qt::LeftButton);
        QVERIFY(status().startsWith("Unable to save the file tavelmark_9.0.0_amd64.deb: "));
        QVERIFY(button()->isEnabled());
        QCOMPARE(server->requests, 1);
    }
};

QTEST_MAIN(TestUpdate)
#include "test_update.moc"
