#include "platform/desktoppicture.h"
#include "realprogram.h"
#include "twomonitors.h"

#include <QApplication>
#include <QScreen>
#include <QtTest>

// Grabs from two monitors of different scales ("2;1"): each screen gives its
// device pixels at its own ratio, and an area across both is put together
// from both in device pixels, the finer ratio kept.
class TestDesktopGrabX11 : public QObject
{
    Q_OBJECT

    QImage desktop;

    static QScreen *screenWithRatio(qreal ratio)
    {
        for (QScreen *screen : QGuiApplication::screens())
            if (screen->devicePixelRatio() == ratio)
                return screen;
        return nullptr;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QTRY_COMPARE(QGuiApplication::screens().size(), 2);
        desktop = numberedPicture(QSize(3840, 1600));
        QTemporaryDir folder;
        QVERIFY(RealProgram::paintRoot(desktop, folder.filePath(QStringLiteral("desktop.png"))));
    }

    // Rectangles are the desktop's device pixels.
    void eachScreenAtItsOwnRatio()
    {
        QScreen *left = screenWithRatio(2);
        QScreen *right = screenWithRatio(1);
        QVERIFY(left && right);
        QCOMPARE(left->geometry(), QRect(0, 0, 1280, 800));
        QCOMPARE(right->geometry(), QRect(2560, 0, 1280, 800));

        // Odd in place and size, as windows are.
        const QPixmap inLeft = DesktopPicture::grab(QRect(201, 101, 401, 199));
        QCOMPARE(inLeft.devicePixelRatio(), 2.0);
        QVERIFY(inLeft.toImage().convertToFormat(QImage::Format_RGB32)
                == desktop.copy(201, 101, 401, 199));
        const QPixmap inRight = DesktopPicture::grab(QRect(2581, 51, 201, 99));
        QCOMPARE(inRight.devicePixelRatio(), 1.0);
        QVERIFY(inRight.toImage().convertToFormat(QImage::Format_RGB32)
                == desktop.copy(2581, 51, 201, 99));
    }

    void areaAcrossBothScreens()
    {
        // Qt leaves a gap between screens of different scales in logical
        // coordinates; in device pixels they lie side by side, and the area
        // comes whole, one to one, at the finer ratio.
        const QRect across(2401, 101, 400, 301);
        const QPixmap picture = DesktopPicture::grab(across);
        QCOMPARE(picture.devicePixelRatio(), 2.0);
        QVERIFY(picture.toImage().convertToFormat(QImage::Format_RGB32) == desktop.copy(across));
        // Below the right screen lies no desktop.
        const QImage lower = DesktopPicture::grab(QRect(2400, 700, 400, 200))
                                 .toImage()
                                 .convertToFormat(QImage::Format_RGB32);
        QVERIFY(lower.copy(0, 0, 400, 100) == desktop.copy(2400, 700, 400, 100));
        QCOMPARE(lower.pixel(300, 150), qRgb(0, 0, 0));
        QCOMPARE(lower.pixel(100, 150), desktop.pixel(2500, 850));
    }
};

int main(int argc, char **argv)
{
    if (!setUpTwoMonitors())
        return 1;
    qputenv("QT_SCREEN_SCALE_FACTORS", "2;1");
    QApplication app(argc, argv);
    TestDesktopGrabX11 test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_desktopgrab_x11.moc"
