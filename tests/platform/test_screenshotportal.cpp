#include "platform/screenshotportal.h"
#include "platform/waylandplatform.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QFile>
#include <QPixmap>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QtTest>

// Stands in for the desktop portal on the test's private session bus, on a
// connection and a thread of its own, as another program would: the client
// blocks its own thread while it waits for some answers.
class FakeScreenshotPortal : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Screenshot")
    Q_PROPERTY(uint version READ version)
public:
    enum class Mode { Deliver, RefuseQuiet, Cancel };

    explicit FakeScreenshotPortal(const QDBusConnection &bus)
        : bus(bus)
    {
    }

    uint version() const { return 2; }

    Mode mode = Mode::Deliver;
    QImage picture;
    QString folder;
    QList<QVariantMap> calls;
    QString lastFile;

public Q_SLOTS:
    QDBusObjectPath Screenshot(const QString &, const QVariantMap &options,
                               const QDBusMessage &message)
    {
        calls.append(options);
        QString sender = message.service().mid(1).replace(QLatin1Char('.'), QLatin1Char('_'));
        const QString token = options.value(QStringLiteral("handle_token")).toString();
        const QString handle
            = QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2").arg(sender, token);
        const bool interactive = options.value(QStringLiteral("interactive")).toBool();
        // The answer follows the call's reply, as a real portal's does.
        QTimer::singleShot(0, this, [this, handle, interactive] { respond(handle, interactive); });
        return QDBusObjectPath(handle);
    }

private:
    void respond(const QString &strHandle, bool bInteractive)
    {
        uint code = 0;
        QVariantMap results;
        if (mode == Mode::Cancel || (mode == Mode::RefuseQuiet && !bInteractive)) {
            code = mode == Mode::Cancel ? 1 : 2;
        } else {
            lastFile = folder + QStringLiteral("/Screenshot %1.png").arg(calls.size());
            picture.save(lastFile);
            results.insert(QStringLiteral("uri"), QUrl::fromLocalFile(lastFile).toString());
        }
        QDBusMessage signal = QDBusMessage::createSignal(
            strHandle, QStringLiteral("org.freedesktop.portal.Request"),
            QStringLiteral("Response"));
        signal << code << results;
        bus.send(signal);
    }

    QDBusConnection bus;
};

class TestScreenshotPortal : public QObject
{
    Q_OBJECT

    QTemporaryDir folder;
    QThread portalThread;
    std::unique_ptr<FakeScreenshotPortal> fake;
    QDBusConnection portalBus { QString() };

    static QImage twoColours()
    {
        QImage image(400, 100, QImage::Format_RGB32);
        image.fill(Qt::red);
        for (int y = 0; y < 100; ++y)
            for (int x = 200; x < 400; ++x)
                image.setPixelColor(x, y, Qt::green);
        return image;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(QDBusConnection::sessionBus().isConnected(), "run under dbus-run-session");
        portalBus = QDBusConnection::connectToBus(QDBusConnection::SessionBus,
                                                  QStringLiteral("fake-portal"));
        fake = std::make_unique<FakeScreenshotPortal>(portalBus);
        fake->picture = twoColours();
        fake->folder = folder.path();
        fake->moveToThread(&portalThread);
        portalThread.start();
    }

    void cleanupTestCase()
    {
        portalThread.quit();
        portalThread.wait();
    }

    // A bare compositor: the refusal names what is missing.
    void withoutAPortalCaptureIsRefused()
    {
        ScreenshotPortal portal(QDBusConnection::sessionBus());
        QCOMPARE(portal.version(), 0u);
        QString why;
        QVERIFY(portal.take(&why).isNull());
        QVERIFY2(why.contains(QStringLiteral("org.freedesktop.portal.Screenshot")),
                 qPrintable(why));

        ScreenshotPortal noBus(QDBusConnection(QStringLiteral("no such connection")));
        QVERIFY(noBus.take(&why).isNull());
        QVERIFY(why.contains(QStringLiteral("session bus")));
    }

    void picturesArriveThroughTheRequest()
    {
        QVERIFY(portalBus.registerService(QStringLiteral("org.freedesktop.portal.Desktop")));
        QVERIFY(portalBus.registerObject(
            QStringLiteral("/org/freedesktop/portal/desktop"), fake.get(),
            QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllProperties));
        ScreenshotPortal portal(QDBusConnection::sessionBus());
        QCOMPARE(portal.version(), 2u);
        QString why;
        const QImage shot = portal.take(&why);
        QVERIFY2(!shot.isNull(), qPrintable(why));
        QCOMPARE(shot.size(), QSize(400, 100));
        QCOMPARE(shot.pixelColor(10, 10), QColor(Qt::red));
        QCOMPARE(shot.pixelColor(390, 90), QColor(Qt::green));
        // Asked without a dialog; the portal's file is not left lying about.
        QCOMPARE(fake->calls.size(), 1);
        QCOMPARE(fake->calls.at(0).value(QStringLiteral("interactive")).toBool(), false);
        QVERIFY(!QFile::exists(fake->lastFile));
    }

    void refusalsAndCancelsAreTold()
    {
        ScreenshotPortal portal(QDBusConnection::sessionBus());
        QString why;
        fake->calls.clear();
        fake->mode = FakeScreenshotPortal::Mode::RefuseQuiet;
        QVERIFY2(!portal.take(&why).isNull(), qPrintable(why));
        QCOMPARE(fake->calls.size(), 2);
        QCOMPARE(fake->calls.at(1).value(QStringLiteral("interactive")).toBool(), true);

        fake->mode = FakeScreenshotPortal::Mode::Cancel;
        QVERIFY(portal.take(&why).isNull());
        QCOMPARE(why, QStringLiteral("The screenshot was cancelled."));
        fake->mode = FakeScreenshotPortal::Mode::Deliver;
    }

    // The portal's picture spans every screen; each screen gets its part at
    // its own device pixels, whatever scale the portal delivered.
    void eachScreenGetsItsPart()
    {
        const QRect desktop(-200, 0, 400, 100);
        const QPixmap right
            = WaylandPlatform::cropToScreen(twoColours(), desktop, QRect(0, 0, 200, 100), 1.0);
        QCOMPARE(right.size(), QSize(200, 100));
        QCOMPARE(right.toImage().pixelColor(0, 0), QColor(Qt::green));
        QCOMPARE(right.toImage().pixelColor(199, 99), QColor(Qt::green));

        const QImage doubled = twoColours().scaled(800, 200);
        const QPixmap left
            = WaylandPlatform::cropToScreen(doubled, desktop, QRect(-200, 0, 200, 100), 2.0);
        QCOMPARE(left.size(), QSize(400, 200));
        QCOMPARE(left.devicePixelRatio(), 2.0);
        QCOMPARE(left.toImage().pixelColor(399, 199), QColor(Qt::red));
        // A portal at scale 1 for a screen at 2: brought to the screen's pixels.
        const QPixmap scaled
            = WaylandPlatform::cropToScreen(twoColours(), desktop, QRect(0, 0, 200, 100), 2.0);
        QCOMPARE(scaled.size(), QSize(400, 200));
        QCOMPARE(scaled.toImage().pixelColor(200, 100), QColor(Qt::green));
        QVERIFY(WaylandPlatform::cropToScreen(QImage(), desktop, desktop, 1.0).isNull());
    }
};

QTEST_MAIN(TestScreenshotPortal)
#include "test_screenshotportal.moc"
