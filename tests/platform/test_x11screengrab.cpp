#include "platform/platform.h"
#include "platform/screengrab.h"
#include "realprogram.h"
#include "swatch.h"
#include "twomonitors.h"

#include <QApplication>
#include <QFile>
#include <QScreen>
#include <QtTest>

#include <unistd.h>

// The capture's grab on two monitors of different scales ("2;1") over a
// numbered desktop: each screen's picture is what Qt's own grab gives, a
// window mapped after the grab was asked for stays out of it, and no shared
// memory outlives the pictures.
class TestX11ScreenGrab : public QObject
{
    Q_OBJECT

    static QImage pixels(const QPixmap &picture)
    {
        return picture.toImage().convertToFormat(QImage::Format_RGB32);
    }

    // Shared memory segments this process created that still exist.
    static int ownSegments()
    {
        QFile table(QStringLiteral("/proc/sysvipc/shm"));
        if (!table.open(QIODevice::ReadOnly))
            return -1;
        int count = 0;
        const QByteArray pid = QByteArray::number(getpid());
        for (const QByteArray &line : table.readAll().split('\n').mid(1)) {
            const QList<QByteArray> fields = line.simplified().split(' ');
            // key shmid perms size cpid ...
            if (fields.size() > 4 && fields.at(4) == pid)
                ++count;
        }
        return count;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QTRY_COMPARE(QGuiApplication::screens().size(), 2);
        QTemporaryDir folder;
        QVERIFY(RealProgram::paintRoot(numberedPicture(QSize(3840, 1600)),
                                       folder.filePath(QStringLiteral("desktop.png"))));
    }

    void eachScreenAsQtGrabsIt()
    {
        for (QScreen *screen : QGuiApplication::screens()) {
            std::unique_ptr<ScreenGrab> grab = Platform::instance().prepareGrab(screen);
            grab->ask();
            const QPixmap picture = grab->take();
            const QPixmap expected = screen->grabWindow(0);
            QCOMPARE(picture.size(), expected.size());
            QCOMPARE(picture.devicePixelRatio(), screen->devicePixelRatio());
            QVERIFY(pixels(picture) == pixels(expected));
            QVERIFY(grab->take().isNull());
        }
    }

    void aWindowMappedAfterTheAskStaysOut()
    {
        QScreen *screen = QGuiApplication::screens().constFirst();
        const QImage desktop = pixels(screen->grabWindow(0));
        std::unique_ptr<ScreenGrab> grab = Platform::instance().prepareGrab(screen);
        grab->ask();
        Swatch cover(QColor(250, 20, 200));
        cover.setGeometry(screen->geometry());
        cover.show();
        QVERIFY(QTest::qWaitForWindowExposed(&cover));
        QVERIFY(pixels(grab->take()) == desktop);
        // The window is there for any grab asked now.
        QTRY_COMPARE(pixels(screen->grabWindow(0, 10, 10, 1, 1)).pixel(0, 0),
                     QColor(250, 20, 200).rgb());
    }

    void noSharedMemoryOutlivesThePictures()
    {
        QScreen *screen = QGuiApplication::screens().constFirst();
        // The toolkit's own windows may hold some.
        const int before = ownSegments();
        QVERIFY(before >= 0);
        {
            std::unique_ptr<ScreenGrab> neverAsked = Platform::instance().prepareGrab(screen);
            std::unique_ptr<ScreenGrab> neverTaken = Platform::instance().prepareGrab(screen);
            neverTaken->ask();
        }
        // Gone once the server has handled the detach.
        QTRY_COMPARE(ownSegments(), before);
        QPixmap kept;
        {
            std::unique_ptr<ScreenGrab> grab = Platform::instance().prepareGrab(screen);
            grab->ask();
            kept = grab->take();
        }
        QVERIFY(!kept.isNull());
        // The picture lives in the memory the server wrote.
        QCOMPARE(ownSegments(), before + 1);
        kept = QPixmap();
        QTRY_COMPARE(ownSegments(), before);
    }
};

int main(int argc, char **argv)
{
    if (!setUpTwoMonitors())
        return 1;
    qputenv("QT_SCREEN_SCALE_FACTORS", "2;1");
    QApplication app(argc, argv);
    TestX11ScreenGrab test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_x11screengrab.moc"
