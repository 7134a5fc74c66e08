#include "fakescreenshotportal.h"
#include "platform/screenshotportal.h"
#include "platform/waylandplatform.h"

#include <QDBusConnection>
#include <QFile>
#include <QPixmap>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

class TestScreenshotPortal : public QObject
{
    Q_OBJECT

    QTemporaryDir folder;
    std::unique_ptr<FakeScreenshotPortal> fake;

    static QImage twoColours()
    {
        QImage image(400, 100, QImage::Format_RGB32);
        image.fill(Qt::red);
        for (int y = 0; y < 100; ++y)
            for (int x = 200; x < 400; ++x)
                image.setPixelColor(x, y, Qt::green);
        return image;
    }

    // The portal's answer to one take(): the picture and why there is none.
    static std::pair<QImage, QString> takeOne(ScreenshotPortal &portal)
    {
        QSignalSpy taken(&portal, &ScreenshotPortal::signal_Taken);
        portal.take();
        if (!taken.wait(30000))
            return { QImage(), QStringLiteral("no answer") };
        return { taken.at(0).at(0).value<QImage>(), taken.at(0).at(1).toString() };
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(QDBusConnection::sessionBus().isConnected(), "run under dbus-run-session");
        fake = std::make_unique<FakeScreenshotPortal>();
        fake->setPicture(twoColours(), folder.path());
    }

    void cleanupTestCase() { fake.reset(); }

    // A bare compositor: the refusal names what is missing.
    void withoutAPortalCaptureIsRefused()
    {
        ScreenshotPortal portal(QDBusConnection::sessionBus());
        QCOMPARE(portal.version(), 0u);
        auto [shot, why] = takeOne(portal);
        QVERIFY(shot.isNull());
        QVERIFY2(why.contains(QStringLiteral("org.freedesktop.portal.Screenshot")),
                 qPrintable(why));

        ScreenshotPortal noBus(QDBusConnection(QStringLiteral("no such connection")));
        std::tie(shot, why) = takeOne(noBus);
        QVERIFY(shot.isNull());
        QVERIFY(why.contains(QStringLiteral("session bus")));
    }

    void picturesArriveThroughTheRequest()
    {
        QVERIFY(fake->serve());
        ScreenshotPortal portal(QDBusConnection::sessionBus());
        QCOMPARE(portal.version(), 2u);
        const auto [shot, why] = takeOne(portal);
        QVERIFY2(!shot.isNull(), qPrintable(why));
        QCOMPARE(shot.size(), QSize(400, 100));
        QCOMPARE(shot.pixelColor(10, 10), QColor(Qt::red));
        QCOMPARE(shot.pixelColor(390, 90), QColor(Qt::green));
        // Asked without a dialog; the portal's file is not left lying about.
        QCOMPARE(fake->calls().size(), 1);
        QCOMPARE(fake->calls().at(0).value(QStringLiteral("interactive")).toBool(), false);
        QVERIFY(!QFile::exists(fake->lastFile()));
    }

    void refusalsAndCancelsAreTold()
    {
        ScreenshotPortal portal(QDBusConnection::sessionBus());
        fake->clearCalls();
        fake->setMode(FakeScreenshotPortal::Mode::RefuseQuiet);
        auto [shot, why] = takeOne(portal);
        QVERIFY2(!shot.isNull(), qPrintable(why));
        QCOMPARE(fake->calls().size(), 2);
        QCOMPARE(fake->calls().at(1).value(QStringLiteral("interactive")).toBool(), true);

        fake->setMode(FakeScreenshotPortal::Mode::Cancel);
        std::tie(shot, why) = takeOne(portal);
        QVERIFY(shot.isNull());
        QCOMPARE(why, QStringLiteral("The screenshot was cancelled."));
        fake->setMode(FakeScreenshotPortal::Mode::Deliver);
    }

    // Nothing waits for a portal that never answers: take() returns at
    // once, the deadline brings the refusal, and a cancel withdraws the
    // request at the portal with no answer at all.
    void aSilentPortalIsNotWaitedFor()
    {
        fake->setMode(FakeScreenshotPortal::Mode::Silent);
        ScreenshotPortal portal(QDBusConnection::sessionBus(), 300);
        QSignalSpy taken(&portal, &ScreenshotPortal::signal_Taken);
        portal.take();
        QVERIFY(portal.isTaking());
        QVERIFY(taken.isEmpty());
        QVERIFY(taken.wait(30000));
        QVERIFY(taken.at(0).at(0).value<QImage>().isNull());
        QCOMPARE(taken.at(0).at(1).toString(),
                 QStringLiteral("The desktop's screenshot portal did not answer in time."));
        QTRY_COMPARE(fake->closes(), 1);

        taken.clear();
        fake->clearCalls();
        ScreenshotPortal patient(QDBusConnection::sessionBus());
        QSignalSpy patientTaken(&patient, &ScreenshotPortal::signal_Taken);
        patient.take();
        QTRY_COMPARE(fake->calls().size(), 1);
        patient.cancel();
        QVERIFY(!patient.isTaking());
        QTRY_COMPARE(fake->closes(), 2);
        QVERIFY(patientTaken.isEmpty());
        fake->setMode(FakeScreenshotPortal::Mode::Deliver);
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
