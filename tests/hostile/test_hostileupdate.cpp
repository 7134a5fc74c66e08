#include "httpserver.h"
#include "modalanswerer.h"
#include "testenvironment.h"
#include "update/detailanim.h"
#include "update/updatedlg.h"

#include <QLabel>
#include <QPushButton>
#include <QTextBrowser>
#include <QTimer>
#include <QtTest>

#include <memory>

namespace {

// Announces `length` bytes, then sends one byte every `intervalMs`.
class TrickleServer : public QTcpServer
{
public:
    TrickleServer(int length, int intervalMs)
    {
        listen(QHostAddress::LocalHost);
        connect(this, &QTcpServer::newConnection, this, [this, length, intervalMs] {
            QTcpSocket *socket = nextPendingConnection();
            socket->write("HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(length)
                          + "\r\n\r\n");
            auto *timer = new QTimer(socket);
            connect(timer, &QTimer::timeout, socket, [socket] { socket->write("<"); });
            timer->start(intervalMs);
        });
    }
    QString base() const
    {
        return QStringLiteral("http://127.0.0.1:%1/tavelmark").arg(serverPort());
    }
};

QByteArray description(const QByteArray &file)
{
    return "<?xml version=\"1.0\"?><mainDoc version=\"9.0.0\" filename=\"" + file
        + "\"><title>Tavelmark 9.0.0</title><item>Fix</item></mainDoc>";
}

} // namespace

// Update servers made to hurt: no request runs for ever, no package grows
// without end, and every stop is said.
class TestHostileUpdate : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    std::unique_ptr<UpdateDlg> dlg;
    const QByteArray package = "/tavelmark/linux/tavelmark_9.0.0_amd64.deb";

    QString status() const { return dlg->findChild<QLabel *>("status")->text(); }
    QString notes() const { return dlg->findChild<QTextBrowser *>("notes")->toPlainText(); }
    QPushButton *button() const { return dlg->findChild<QPushButton *>("download"); }
    QStringList files() const { return QDir(env->dataFolder()).entryList(QDir::Files); }

    void open(const QString &strBase, const UpdateDlg::Limits &limits)
    {
        dlg = std::make_unique<UpdateDlg>(nullptr, QUrl(strBase), limits);
        dlg->show();
    }
    bool checked() const { return dlg->findChild<DetailAnim *>()->state() != DetailAnim::Loading; }

private Q_SLOTS:
    void init()
    {
        env = std::make_unique<TestEnvironment>();
        AppState::instance().dataFolder = env->dataFolder();
        QDir().mkpath(env->dataFolder());
        QCoreApplication::setApplicationVersion(QStringLiteral("1.2.3.570"));
    }
    void cleanup()
    {
        dlg.reset();
        env.reset();
    }

    // A byte now and then keeps the idle timeout quiet; the deadline ends it.
    void tricklingServersMeetTheDeadline()
    {
        TrickleServer trickle(100000, 100);
        UpdateDlg::Limits limits;
        limits.descriptionDeadlineMs = 800;
        open(trickle.base(), limits);
        QTRY_VERIFY_WITH_TIMEOUT(checked(), 5000);
        QCOMPARE(status(), QStringLiteral("Check for available updates failed."));
        QVERIFY2(notes().contains(QStringLiteral("did not answer in time")), qPrintable(notes()));

        HttpServer server;
        server.answer("/tavelmark/linux/tavelmarkupdate.xml",
                      { HttpServer::http(200, description(package.mid(17))) });
        QByteArray slow = HttpServer::http(200, QByteArray(100000, 'p'));
        server.answer(package, { slow, 1000 }); // then holds
        limits.packageDeadlineMs = 800;
        open(server.base(), limits);
        QTRY_VERIFY(button()->isEnabled());
        QTest::mouseClick(button(), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(status(),
                                  QStringLiteral("Download failed: the server did not send it in "
                                                 "time."),
                                  5000);
        QVERIFY(button()->isEnabled());
        QCOMPARE(files(), QStringList());
    }

    // Announced or not, a package past the cap is stopped and nothing is kept.
    void oversizedPackagesAreStopped()
    {
        HttpServer server;
        server.answer("/tavelmark/linux/tavelmarkupdate.xml",
                      { HttpServer::http(200, description(package.mid(17))) });
        UpdateDlg::Limits limits;
        limits.maxPackageBytes = 2 * 1024 * 1024;
        const QByteArray body(3 * 1024 * 1024, 'p');
        const QByteArray unannounced = "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n" + body;
        for (const QByteArray &response : { HttpServer::http(200, body), unannounced }) {
            server.answer(package, { response });
            open(server.base(), limits);
            QTRY_VERIFY(button()->isEnabled());
            QTest::mouseClick(button(), Qt::LeftButton);
            QTRY_COMPARE(status(),
                         QStringLiteral("Download failed: the package is larger than 2 MB."));
            QVERIFY(button()->isEnabled());
            QCOMPARE(files(), QStringList());
            QVERIFY(dlg->downloadedFile().isEmpty());
        }
    }

    // A refused redirect is said as such, and the download can be tried again.
    void refusedRedirectsAreSaid()
    {
        HttpServer server;
        server.answer("/tavelmark/linux/tavelmarkupdate.xml",
                      { HttpServer::http(200, description(package.mid(17))) });
        server.answer(package, { HttpServer::http(302, "", "Location: /mirror/t.deb\r\n") });
        open(server.base(), {});
        QTRY_VERIFY(button()->isEnabled());
        {
            ModalAnswerer refuse(QMessageBox::No);
            QTest::mouseClick(button(), Qt::LeftButton);
            QTRY_COMPARE(refuse.texts.size(), 1);
        }
        QCOMPARE(status(),
                 QStringLiteral("The download was stopped: it was sent on to %1/mirror/t.deb.")
                     .arg(server.base().chopped(10)));
        QVERIFY(button()->isEnabled());
        QCOMPARE(files(), QStringList());

        // The description is only fetched from its own server.
        server.answer("/tavelmark/linux/tavelmarkupdate.xml",
                      { HttpServer::http(301, "",
                                         "Location: http://localhost:"
                                             + QByteArray::number(server.serverPort())
                                             + "/elsewhere.xml\r\n") });
        open(server.base(), {});
        QTRY_VERIFY(checked());
        QCOMPARE(status(), QStringLiteral("Check for available updates failed."));
        QVERIFY2(notes().contains(QStringLiteral("another address")), qPrintable(notes()));
        QVERIFY(!notes().contains(QStringLiteral("Network disconnection")));
    }
};

QTEST_MAIN(TestHostileUpdate)
#include "test_hostileupdate.moc"
