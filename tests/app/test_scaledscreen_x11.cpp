#include "desktoptools/capturedlg.h"
#include "desktoptools/captureoptionwidget.h"
#include "realprogram.h"
#include "testenvironment.h"
#include "widgets/popupwidgetbtn.h"
#include "x11probe.h"

#include <QScreen>
#include <QtTest>

#include <memory>

// The real program on a 2560 x 1600 desktop at scale 2: the page shows the
// desktop pixel for pixel, the pen draws under the pointer, and a region
// captured to the clipboard holds exactly the marked device pixels.
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

    // The clipboard output's centre relative to the capture panel's corner.
    static QPoint clipboardButtonOffset()
    {
        QPixmap still(400, 300);
        CaptureDlg dialog(CaptureDlg::Rectangle, &still, nullptr);
        dialog.setAttribute(Qt::WA_DontShowOnScreen);
        dialog.show();
        CaptureOptionWidget *panel = dialog.optionWidget();
        panel->show();
        for (PopupWidgetBtn *button : panel->findChildren<PopupWidgetBtn *>()) {
            if (button->toolTip() == QLatin1String("Capture To Clipboard"))
                return button->mapTo(panel, button->rect().center()) * Scale;
        }
        return QPoint();
    }

    static bool coversScreen(const X11Probe &x11)
    {
        const QRect screen(0, 0, 2560, 1600);
        const QList<quint32> clients
            = x11.cardinals(x11.rootWindow(), "_NET_CLIENT_LIST_STACKING", XCB_ATOM_WINDOW);
        return std::any_of(clients.cbegin(), clients.cend(),
                           [&](quint32 c) { return x11.rootGeometry(c) == screen; });
    }

    // Device pixels of the screen that equal the desktop picture, in a block.
    static bool sameAsDesktop(const QImage &shown, const QImage &desktop, const QRect &block)
    {
        return shown.copy(block) == desktop.copy(block);
    }

private Q_SLOTS:
    void init() { env = std::make_unique<TestEnvironment>(); }
    void cleanup() { env.reset(); }

    void pageShowsDesktopOneToOneAndCapturesAreDevicePixels()
    {
        X11Probe x11;
        QCOMPARE(QGuiApplication::primaryScreen()->size(), QSize(2560, 1600));
        desktop = numberedPicture(QSize(2560, 1600));
        QVERIFY(RealProgram::paintRoot(desktop, env->path(QStringLiteral("desktop.png"))));
        const QPoint penOffset = RealProgram::penButtonOffset() * Scale;
        const QPoint clipOffset = clipboardButtonOffset();
        QVERIFY(!clipOffset.isNull());

        RealProgram program(*env);
        QVERIFY(program.start({ QStringLiteral("QT_SCALE_FACTOR=2") }));
        const QString toolbar = program.toolbar();
        QVERIFY2(!toolbar.isEmpty(), "the toolbar never showed");
        RealProgram::click(x11.rootGeometry(toolbar.toUInt()).topLeft() + penOffset);
        QTRY_VERIFY_WITH_TIMEOUT(coversScreen(x11), 15000);

        // The root changes under the page; the page keeps the old picture,
        // each quadrant 1:1 (frame, toolbar and label aside).
        QImage changed = desktop;
        changed.invertPixels();
        QVERIFY(RealProgram::paintRoot(changed, env->path(QStringLiteral("changed.png"))));
        const QList<QRect> quadrants = { QRect(400, 200, 600, 400), QRect(1500, 200, 600, 400),
                                         QRect(400, 1000, 600, 400), QRect(1500, 1000, 600, 400) };
        QTRY_VERIFY_WITH_TIMEOUT(sameAsDesktop(screenNow(), desktop, quadrants.at(3)), 10000);
        QImage shown = screenNow();
        for (const QRect &block : quadrants)
            QVERIFY2(sameAsDesktop(shown, desktop, block),
                     qPrintable(QStringLiteral("block at %1,%2").arg(block.x()).arg(block.y())));

        // A drag from A to B inks the device pixels under A and B.
        const QPoint a(1001, 701);
        const QPoint b(1401, 901);
        RealProgram::drag(a, b);
        QTRY_VERIFY_WITH_TIMEOUT(screenNow().pixel(b) != desktop.pixel(b), 10000);
        shown = screenNow();
        QVERIFY(shown.pixel(a) != desktop.pixel(a));
        QVERIFY(shown.pixel((a + b) / 2) != desktop.pixel((a + b) / 2));
        // Nowhere near where a doubled position would lie.
        QVERIFY(sameAsDesktop(shown, desktop, QRect(1900, 1300, 200, 200)));

        RealProgram::key(QStringLiteral("Escape"));
        QTRY_VERIFY_WITH_TIMEOUT(!coversScreen(x11), 10000);

        // The capture starts with a 300 x 200 rectangle in the middle; its
        // top-left corner is dragged to an odd device position, and the
        // rectangle goes to the clipboard.
        QVERIFY(RealProgram::paintRoot(desktop, env->path(QStringLiteral("desktop.png"))));
        const QString again = program.toolbar();
        RealProgram::xdotool({ QStringLiteral("windowactivate"), QStringLiteral("--sync"), again });
        RealProgram::key(QStringLiteral("alt+0"));
        QTRY_VERIFY_WITH_TIMEOUT(coversScreen(x11), 15000);
        const QRect marked(QPoint(490, 300), QPoint(789, 499)); // logical, inclusive
        const QPoint to(801, 501);
        RealProgram::drag(marked.topLeft() * Scale + QPoint(1, 1), to);
        const QPoint panel(marked.right() + 4, to.y() / Scale + 10);
        RealProgram::click(panel * Scale + clipOffset);
        QTRY_VERIFY_WITH_TIMEOUT(!coversScreen(x11), 10000);

        QImage clip;
        const QStringList paste
            = { QStringLiteral("-selection"), QStringLiteral("clipboard"), QStringLiteral("-t"),
                QStringLiteral("image/png"), QStringLiteral("-o") };
        QTRY_VERIFY_WITH_TIMEOUT(
            !(clip = QImage::fromData(RealProgram::tool(QStringLiteral("xclip"), paste), "PNG"))
                 .isNull(),
            10000);
        clip = clip.convertToFormat(QImage::Format_RGB32);
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
};

QTEST_MAIN(TestScaledScreenX11)
#include "test_scaledscreen_x11.moc"
