#include "canvas/mainview.h"
#include "realprogram.h"
#include "twomonitors.h"

#include <QApplication>
#include <QScreen>
#include <QtTest>

// Grabs from two monitors of different scales ("2;1"): each screen gives its
// pictures at its own ratio, and an area across both is put together from
// both, the finer ratio kept.
class TestDesktopGrabX11 : public QObject
{
    Q_OBJECT

    QImage desktop;
    MainView view;

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

    void eachScreenAtItsOwnRatio()
    {
        QScreen *left = screenWithRatio(2);
        QScreen *right = screenWithRatio(1);
        QVERIFY(left && right);
        QCOMPARE(left->geometry(), QRect(0, 0, 1280, 800));
        QCOMPARE(right->geometry(), QRect(2560, 0, 1280, 800));

        const QPixmap inLeft = view.grabDesktopRect(QRect(101, 51, 201, 99));
        QCOMPARE(inLeft.devicePixelRatio(), 2.0);
        QVERIFY(inLeft.toImage().convertToFormat(QImage::Format_RGB32)
                == desktop.copy(202, 102, 402, 198));
        const QPixmap inRight = view.grabDesktopRect(QRect(2581, 51, 201, 99));
        QCOMPARE(inRight.devicePixelRatio(), 1.0);
        QVERIFY(inRight.toImage().convertToFormat(QImage::Format_RGB32)
                == desktop.copy(2581, 51, 201, 99));
    }

    void areaAcrossBothScreens()
    {
        // 40 on the left, 80 on the right; Qt leaves a gap between screens of
        // different scales in logical coordinates.
        const QRect across(1240, 100, 1400, 200);
        const QImage picture
            = view.grabDesktopRect(across).toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(picture.size(), QSize(2800, 400));
        QCOMPARE(picture.devicePixelRatio(), 2.0);
        // The left part pixel for pixel ...
        QVERIFY(picture.copy(0, 0, 80, 400) == desktop.copy(2480, 200, 80, 400));
        // ... the right part with each of its pixels doubled, never blurred.
        for (int j = 0; j < 200; j += 7) {
            for (int i = 0; i < 80; i += 5) {
                const QRgb source = desktop.pixel(2560 + i, 100 + j);
                const QPoint at(2640 + 2 * i, 2 * j);
                QCOMPARE(picture.pixel(at), source);
                QCOMPARE(picture.pixel(at + QPoint(1, 1)), source);
            }
        }
        // Between the screens lies no desktop.
        QCOMPARE(picture.pixel(400, 100), qRgb(0, 0, 0));
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
