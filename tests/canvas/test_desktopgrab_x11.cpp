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
        desktop = numberedPicture(QSize(2560, 800));
        QTemporaryDir folder;
        QVERIFY(RealProgram::paintRoot(desktop, folder.filePath(QStringLiteral("desktop.png"))));
    }

    void eachScreenAtItsOwnRatio()
    {
        QScreen *left = screenWithRatio(2);
        QScreen *right = screenWithRatio(1);
        QVERIFY(left && right);
        QCOMPARE(left->geometry(), QRect(0, 0, 640, 400));
        QCOMPARE(right->geometry(), QRect(1280, 0, 1280, 800));

        const QPixmap inLeft = view.grabDesktopRect(QRect(101, 51, 201, 99));
        QCOMPARE(inLeft.devicePixelRatio(), 2.0);
        QVERIFY(inLeft.toImage().convertToFormat(QImage::Format_RGB32)
                == desktop.copy(202, 102, 402, 198));
        const QPixmap inRight = view.grabDesktopRect(QRect(1301, 51, 201, 99));
        QCOMPARE(inRight.devicePixelRatio(), 1.0);
        QVERIFY(inRight.toImage().convertToFormat(QImage::Format_RGB32)
                == desktop.copy(1301, 51, 201, 99));
    }

    void areaAcrossBothScreens()
    {
        const QRect across(600, 100, 800, 200); // 40 on the left, 120 on the right
        const QImage picture
            = view.grabDesktopRect(across).toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(picture.size(), QSize(1600, 400));
        QCOMPARE(picture.devicePixelRatio(), 2.0);
        // The left part pixel for pixel ...
        QVERIFY(picture.copy(0, 0, 80, 400) == desktop.copy(1200, 200, 80, 400));
        // ... the right part with each of its pixels doubled, never blurred.
        for (int j = 0; j < 200; j += 7) {
            for (int i = 0; i < 120; i += 5) {
                const QRgb source = desktop.pixel(1280 + i, 100 + j);
                const QPoint at(1360 + 2 * i, 2 * j);
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
