#include "app/appstate.h"
#include "app/installationsettings.h"
#include "canvas/toolkit.h"
#include "httpserver.h"
#include "mainwindow/mainwindow.h"
#include "modalanswerer.h"
#include "platform/platform.h"
#include "testenvironment.h"
#include "update/updatedlg.h"
#include "urlcatcher.h"

#include <QLabel>
#include <QSettings>
#include <QTextBrowser>
#include <QtTest>

#include <memory>

// What an administrator sets in the machine-wide configuration file: the
// update server and the feedback address, and the folder where Help finds
// the user guide.
class TestInstallation : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    int configs = 0;

    // A fresh machine-wide configuration holding `lines`; a new folder each
    // time, so that nothing read before is reused.
    void configure(const QByteArray &lines)
    {
        const QString folder = env->path(QStringLiteral("etc%1").arg(++configs));
        QVERIFY(QDir().mkpath(folder + "/Quillbury"));
        QVERIFY(writeFile(folder + "/Quillbury/Tavelmark.conf", "[General]\n" + lines));
        QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope, folder);
    }

    static QString text(UpdateDlg &dlg, const char *name)
    {
        if (auto *label = dlg.findChild<QLabel *>(name))
            return label->text();
        return dlg.findChild<QTextBrowser *>(name)->toPlainText();
    }

private Q_SLOTS:
    void init()
    {
        env = std::make_unique<TestEnvironment>();
        AppState::instance().dataFolder = env->dataFolder();
        QCoreApplication::setApplicationVersion(QStringLiteral("1.2.3.570"));
    }

    void cleanup() { env.reset(); }

    void addressesComeFromTheMachineConfiguration()
    {
        using S = InstallationSettings;
        configure("");
        QCOMPARE(S::updateServer(), S::defaultUpdateServer());
        QCOMPARE(S::feedbackAddress(), S::defaultFeedbackAddress());
        QCOMPARE(Platform::installationPath(), QString());

        configure("Path=/opt/t\nUpdateServer=http://updates.school.lan/tavelmark/\n"
                  "FeedbackAddress=mailto:it@school.lan\n");
        QCOMPARE(Platform::installationPath(), QStringLiteral("/opt/t"));
        QCOMPARE(S::updateServer(), QUrl("http://updates.school.lan/tavelmark"));
        QCOMPARE(S::feedbackAddress(), QUrl("mailto:it@school.lan"));
        QCOMPARE(S::feedbackTarget(S::feedbackAddress()), QUrl("mailto:it@school.lan"));
        QCOMPARE(S::feedbackTarget(QUrl("https://h/fb")), QUrl("https://h/fb/"));

        // What cannot serve as such an address leaves the built-in one.
        const QUrl fallback("https://fallback/x");
        for (const char *bad : { "ftp://h/x", "file:///etc", "javascript:alert(1)", "http://",
                                 "updates.lan/x", "http://h/x?q=1", "  ", "mailto:" })
            QVERIFY2(S::address(QLatin1String(bad), fallback, true) == fallback, bad);
        QCOMPARE(S::address("mailto:a@b", fallback, false), fallback);
        QCOMPARE(S::address(" https://h:8080/a ", fallback, false), QUrl("https://h:8080/a"));
    }

    // The check asks the server the configuration names (what it then does
    // with the answer is the update test's).
    void updateCheckUsesTheConfiguredServer()
    {
        HttpServer server;
        QVERIFY(server.isListening());
        configure("UpdateServer=" + server.base().toUtf8() + "\n");
        server.answer("/tavelmark/linux/tavelmarkupdate.xml",
                      { HttpServer::http(200, "<mainDoc version=\"1.2.3\"/>") });
        UpdateDlg dlg(nullptr);
        QTRY_COMPARE(text(dlg, "status"), QStringLiteral("No new version available."));
        QCOMPARE(server.requests, 1);
    }

    void feedbackGoesToTheConfiguredAddress()
    {
        ToolKit::reset();
        MainWindow window;
        UrlCatcher web(QStringLiteral("https"));
        UrlCatcher mail(QStringLiteral("mailto"));
        configure("");
        window.slot_Feedback();
        configure("FeedbackAddress=https://help.school.lan/board\n");
        window.slot_Feedback();
        configure("FeedbackAddress=mailto:it@school.lan\n");
        window.slot_Feedback();
        QCOMPARE(web.urls,
                 QList<QUrl>({ QUrl("https://quillbury.example/tavelmark/"),
                               QUrl("https://help.school.lan/board/") }));
        QCOMPARE(mail.urls, QList<QUrl>({ QUrl("mailto:it@school.lan") }));
    }

    // The guide in the interface's language when there is one, else the
    // English one; without any, Help says where it looked.
    void helpFindsTheGuideOrSaysItIsMissing()
    {
        ToolKit::reset();
        MainWindow window;
        AppState &s = AppState::instance();
        s.appPath = env->path("share");
        QVERIFY(QDir().mkpath(s.appPath));
        {
            ModalAnswerer answerer;
            window.slot_Help();
            QCOMPARE(answerer.texts.size(), 1);
            QVERIFY2(
                answerer.texts[0].startsWith("The user guide was not found.\nIt is looked for as "
                                             + s.appPath + "/help.pdf."),
                qPrintable(answerer.texts[0]));
        }
        UrlCatcher files(QStringLiteral("file"));
        QVERIFY(writeFile(s.appPath + "/help.pdf", "%PDF-1.4"));
        QVERIFY(writeFile(s.appPath + "/help_zh_TW.pdf", "%PDF-1.4"));
        window.slot_Help();
        s.language = QStringLiteral("zh_TW");
        window.slot_Help();
        s.language = QStringLiteral("zh_CN");
        window.slot_Help();
        QCOMPARE(files.urls,
                 QList<QUrl>({ QUrl::fromLocalFile(s.appPath + "/help.pdf"),
                               QUrl::fromLocalFile(s.appPath + "/help_zh_TW.pdf"),
                               QUrl::fromLocalFile(s.appPath + "/help.pdf") }));
    }
};

QTEST_MAIN(TestInstallation)
#include "test_installation.moc"
