#include "desktoptoolpanels.h"
#include "realprogram.h"
#include "testenvironment.h"
#include "x11probe.h"

#include <QScreen>
#include <QtTest>

#include <memory>

// The real program on a 2560 x 1600 desktop at scale 2: the pen draws under
// the pointer to the device pixel, a region captured to the clipboard holds
// exactly the marked device pixels; the picker and the loupe read the device
// pixel under the pointer. The page showing the desktop one to one and
// windows captured to their device pixels are the monitors test's.
class TestScaledScreenX11 : public QObject
{
    Q_OBJECT

    static constexpr int Scale = 2;
    std::unique_ptr<TestEnvironment> env;
    QImage desktop;

    static QImage screenNow()
    {
        return QGuiApplication::primaryScreen()->grabWindow(0).toImage().convertToFormat(
            QImage::Format_RGB32);
    }

    // The rows of a column where the shown picture differs from the desktop,
    // as their middle.
    static qreal inkedMiddle(const QImage &shown, const QImage &desktop, int x, int top, int bottom)
    {
        int first = -1;
        int last = -1;
        for (int y = top; y <= bottom; ++y) {
            if (shown.pixel(x, y) != desktop.pixel(x, y)) {
                first = first < 0 ? y : first;
                last = y;
            }
        }
        return first < 0 ? -1 : (first + last) / 2.0;
    }

    // Activates the toolbar as a user's click would and types a shortcut.
    static void shortcut(const QString &strToolbar, const QString &strKeys)
    {
        RealProgram::xdotool(
            { QStringLiteral("windowactivate"), QStringLiteral("--sync"), strToolbar });
        RealProgram::key(strKeys);
    }

    // Device pixels of the screen that equal the desktop picture, in a block.
    static bool sameAsDesktop(const QImage &shown, const QImage &desktop, const QRect &block)
    {
        return shown.copy(block) == desktop.copy(block);
    }

private Q_SLOTS:
    void init() { env = std::make_unique<TestEnvironment>(); }
    void cleanup() { env.reset(); }

    void penAndCapturesMeetDevicePixels()
    {
        X11Probe x11;
        QCOMPARE(QGuiApplication::primaryScreen()->size(), QSize(2560, 1600));
        desktop = numberedPicture(QSize(2560, 1600));
        QVERIFY(RealProgram::paintRoot(desktop, env->path(QStringLiteral("desktop.png"))));
        const QPoint penOffset = RealProgram::penButtonOffset() * Scale;
        const QPoint clipOffset = DesktopToolPanels::capturePanel().clipboard * Scale;
        QVERIFY(!clipOffset.isNull());

        RealProgram program(*env);
        QVERIFY(program.start({ QStringLiteral("QT_SCALE_FACTOR=2") }));
        const QString toolbar = program.toolbar();
        QVERIFY2(!toolbar.isEmpty(), "the toolbar never showed");
        RealProgram::click(x11.rootGeometry(toolbar.toUInt()).topLeft() + penOffset);
        TAV_TRY_VERIFY(RealProgram::fullScreenClientShown(x11, 0), 15000);

        // A drag from A to B inks the device pixels under A and B.
        const QPoint a(1001, 701);
        const QPoint b(1401, 901);
        RealProgram::drag(a, b);
        TAV_TRY_VERIFY(screenNow().pixel(b) != desktop.pixel(b), 10000);
        const QImage shown = screenNow();
        QVERIFY(shown.pixel(a) != desktop.pixel(a));
        QVERIFY(shown.pixel((a + b) / 2) != desktop.pixel((a + b) / 2));
        // Nowhere near where a doubled position would lie.
        QVERIFY(sameAsDesktop(shown, desktop, QRect(1900, 1300, 200, 200)));

        // Along an odd device row the ink is centred on the pointer's row:
        // its device pixels end at the row's top edge, as a line there does.
        RealProgram::drag(QPoint(601, 1101), QPoint(1201, 1101));
        TAV_TRY_VERIFY(screenNow().pixel(1201, 1101) != desktop.pixel(1201, 1101), 10000);
        const qreal middle = inkedMiddle(screenNow(), desktop, 901, 1060, 1140);
        QVERIFY2(qAbs(middle - 1100.5) < 0.3, qPrintable(QString::number(middle)));

        RealProgram::key(QStringLiteral("Escape"));
        TAV_TRY_VERIFY(!RealProgram::fullScreenClientShown(x11, 0), 10000);

        // The capture starts with a 300 x 200 rectangle in the middle; its
        // top-left corner is dragged to an odd device position, and the
        // rectangle goes to the clipboard.
        shortcut(program.toolbar(), QStringLiteral("alt+0"));
        TAV_TRY_VERIFY(RealProgram::fullScreenClientShown(x11, 0), 15000);
        const QRect marked(QPoint(490, 300), QPoint(789, 499)); // logical, inclusive
        const QPoint to(801, 501);
        RealProgram::drag(marked.topLeft() * Scale + QPoint(1, 1), to);
        const QPoint panel(marked.right() + 4, to.y() / Scale + 10);
        RealProgram::click(panel * Scale + clipOffset);
        TAV_TRY_VERIFY(!RealProgram::fullScreenClientShown(x11, 0), 10000);

        QImage clip;
        TAV_TRY_VERIFY(!(clip = DesktopToolPanels::clipboardImage()).isNull(), 10000);
        // Whole logical pixels in device pixels: the moved corner lies on an
        // even device pixel next to the pointer, the other where it was.
        const QPoint origin = numberedPosition(clip.pixel(0, 0));
        QVERIFY2(qAbs(origin.x() - to.x()) <= 1 && qAbs(origin.y() - to.y()) <= 1,
                 qPrintable(QStringLiteral("%1,%2").arg(origin.x()).arg(origin.y())));
        QCOMPARE(origin.x() % Scale, 0);
        QCOMPARE(origin.y() % Scale, 0);
        QCOMPARE(origin + QPoint(clip.width(), clip.height()),
                 (marked.bottomRight() + QPoint(1, 1)) * Scale);
        QVERIFY(clip == desktop.copy(QRect(origin, clip.size())));
    }

    // At an odd device position, where Qt hands widgets the logical pixel
    // beside it: the picker copies that pixel's colour, the freeform
    // capture's loupe frames it.
    void devicePixelUnderThePointer()
    {
        X11Probe x11;
        desktop = numberedPicture(QSize(2560, 1600));
        QVERIFY(RealProgram::paintRoot(desktop, env->path(QStringLiteral("desktop.png"))));
        RealProgram program(*env);
        QVERIFY(program.start({ QStringLiteral("QT_SCALE_FACTOR=2") }));
        const QString toolbar = program.toolbar();
        QVERIFY2(!toolbar.isEmpty(), "the toolbar never showed");
        const QPoint odd(1301, 1001);

        shortcut(toolbar, QStringLiteral("alt+4"));
        TAV_TRY_VERIFY(RealProgram::fullScreenClientShown(x11, 0), 15000);
        RealProgram::click(odd);
        const QString hex = QColor(desktop.pixel(odd)).name();
        QTRY_VERIFY2_WITH_TIMEOUT(DesktopToolPanels::clipboardText().contains(hex),
                                  qPrintable(DesktopToolPanels::clipboardText() + " not " + hex),
                                  10000);
        RealProgram::key(QStringLiteral("Escape"));
        TAV_TRY_VERIFY(!RealProgram::fullScreenClientShown(x11, 0), 10000);

        // The loupe rests in the top-left corner, its centre at (122, 122):
        // a device pixel inside the framed centre, off the cross. It starts
        // where the pointer rests, and follows it.
        shortcut(toolbar, QStringLiteral("alt+1"));
        TAV_TRY_VERIFY(RealProgram::fullScreenClientShown(x11, 0), 15000);
        const QPoint inCentre = QPoint(122, 122) * Scale - QPoint(4, 4);
        QTRY_COMPARE_WITH_TIMEOUT(screenNow().pixel(inCentre), desktop.pixel(odd), 10000);
        const QPoint moved = odd + QPoint(100, 100);
        RealProgram::xdotool({ QStringLiteral("mousemove"), QString::number(moved.x()),
                               QString::number(moved.y()) });
        QTRY_COMPARE_WITH_TIMEOUT(screenNow().pixel(inCentre), desktop.pixel(moved), 10000);
        RealProgram::key(QStringLiteral("Escape"));
        TAV_TRY_VERIFY(!RealProgram::fullScreenClientShown(x11, 0), 10000);
    }
};

QTEST_MAIN(TestScaledScreenX11)
#include "test_scaledscreen_x11.moc"
