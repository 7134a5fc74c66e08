#include "app/appstate.h"
#include "app/resourcepixmap.h"
#include "app/screeninuse.h"
#include "offscreenscreens.h"
#include "testenvironment.h"
#include "toolbar/shapewidget.h"
#include "toolbar/tabwidget.h"
#include "toolbar/toolcentralwidget.h"
#include "toolbar/toolwidget.h"
#include "toolbar/toolwidgetbtn.h"
#include "widgets/lookcolours.h"
#include "widgets/toolbarscale.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPalette>
#include <QScreen>
#include <QtTest>

#include <memory>

// The toolbar's high-contrast look and its size steps, on one 1280 x 800
// screen, checked on the pixels the buttons paint.
class TestToolbarLook : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    std::unique_ptr<ToolWidget> bar;

    void makeBar()
    {
        bar = std::make_unique<ToolWidget>();
        bar->show();
        QVERIFY(QTest::qWaitForWindowExposed(bar.get()));
    }

    // The points of a button's face where its icon is fully opaque.
    static QList<QPoint> iconPoints(ToolWidgetBtn *button, const QString &strIcon, bool bHighRes)
    {
        const QImage icon = ResourcePixmap::load(strIcon, bHighRes).toImage();
        QRect target(QPoint(), icon.size());
        target.moveCenter(button->rect().center());
        QList<QPoint> points;
        for (int y = 0; y < icon.height(); ++y)
            for (int x = 0; x < icon.width(); ++x)
                if (qAlpha(icon.pixel(x, y)) == 255)
                    points.append(target.topLeft() + QPoint(x, y));
        return points;
    }

    // An icon in two tones: its lines in `lines` standing out from `back` by
    // at least `ratio`, everything else in `back`. The number of line pixels,
    // or -1 when a pixel has another colour.
    static int iconLines(const QImage &shown, const QList<QPoint> &points, const QColor &lines,
                         const QColor &back, double ratio)
    {
        if (LookColours::contrastRatio(lines, back) < ratio)
            return -1;
        int count = 0;
        for (const QPoint &p : points) {
            const QColor colour = shown.pixelColor(p);
            if (colour != lines && colour != back)
                return -1;
            count += colour == lines;
        }
        return count;
    }

private Q_SLOTS:
    void init()
    {
        env = std::make_unique<TestEnvironment>();
        ScreenInUse::instance().use(QGuiApplication::primaryScreen());
    }

    void cleanup()
    {
        bar.reset();
        env.reset();
        QApplication::setPalette(QPalette());
    }

    // Icons and outlines stand out from the face by at least 7:1 in every
    // state: up, current tool (inverted), disabled (still legible, dashed).
    void highContrastButtons()
    {
        AppState::instance().highContrast = true;
        makeBar();
        const QColor face = LookColours::face(), ink = LookColours::ink();
        ToolWidgetBtn *pen = bar->button(ToolWidget::Pen);
        const QList<QPoint> penIcon = iconPoints(pen, QStringLiteral(":/Res/Pen"), false);
        QVERIFY(penIcon.size() > 20);

        QImage up = pen->grab().toImage();
        QCOMPARE(up.pixelColor(4, 4), face);
        QVERIFY(iconLines(up, penIcon, ink, face, 7.0) > 20);
        for (const QPoint &edge : { QPoint(0, 0), QPoint(1, 15), QPoint(pen->width() - 1, 15),
                                    QPoint(15, pen->height() - 2) })
            QVERIFY(LookColours::contrastRatio(up.pixelColor(edge), face) >= 7.0);

        bar->setCurrentToolButton(ToolWidget::Pen);
        const QImage marked = pen->grab().toImage();
        QCOMPARE(marked.pixelColor(4, 4), ink);
        QVERIFY(iconLines(marked, penIcon, face, ink, 7.0) > 20);

        ToolWidgetBtn *undo = bar->button(ToolWidget::Undo);
        QVERIFY(!undo->isEnabled());
        const QImage disabled = undo->grab().toImage();
        QVERIFY(iconLines(disabled, iconPoints(undo, QStringLiteral(":/Res/Undo"), false),
                          LookColours::disabledInk(), face, 4.5)
                > 20);
        int gaps = 0;
        for (int x = 0; x < undo->width(); ++x)
            gaps += disabled.pixelColor(x, 0) == face;
        QVERIFY2(gaps > 0 && gaps < undo->width(), "a disabled button's outline is dashed");
    }

    // Inside the panels too: the current tab inverted, the shape pictures
    // drawn in ink on the face.
    void panelPicturesInHighContrast()
    {
        AppState::instance().highContrast = true;
        const QColor face = LookColours::face(), ink = LookColours::ink();
        TabWidget tabs({ QStringLiteral("Shape"), QStringLiteral("Stroke") }, 1, nullptr);
        const QImage shownTabs = tabs.grab().toImage();
        QCOMPARE(shownTabs.pixelColor(tabs.tabRect(0).topLeft() + QPoint(4, 4)), face);
        QCOMPARE(shownTabs.pixelColor(tabs.tabRect(1).topLeft() + QPoint(4, 4)), ink);

        ShapeWidget shapes(nullptr);
        const QImage shownShapes = shapes.grab().toImage();
        int inked = 0;
        for (int y = 0; y < shownShapes.height(); ++y)
            for (int x = 0; x < shownShapes.width(); ++x)
                inked += shownShapes.pixelColor(x, y) == ink;
        QVERIFY2(inked > 18 * 20, qPrintable(QString::number(inked)));
    }

    // A black-and-white desktop palette turns the look on by itself, and its
    // colours become the faces: here white ink on black.
    void followsTheDesktopPalette()
    {
        QVERIFY(!LookColours::highContrast());
        QPalette dark;
        dark.setColor(QPalette::Window, Qt::black);
        dark.setColor(QPalette::WindowText, Qt::white);
        QApplication::setPalette(dark);
        QVERIFY(LookColours::highContrast());
        QVERIFY(!AppState::instance().highContrast);
        makeBar();
        ToolWidgetBtn *pen = bar->button(ToolWidget::Pen);
        const QImage up = pen->grab().toImage();
        QCOMPARE(up.pixelColor(4, 4), QColor(Qt::black));
        QVERIFY(iconLines(up, iconPoints(pen, QStringLiteral(":/Res/Pen"), false),
                          QColor(Qt::white), QColor(Qt::black), 7.0)
                > 20);
        // Grey on grey is no high-contrast palette.
        QPalette grey;
        grey.setColor(QPalette::Window, QColor(0xef, 0xef, 0xef));
        grey.setColor(QPalette::WindowText, Qt::black);
        QVERIFY(!LookColours::isHighContrastPalette(grey));
    }

    // One of the ring's two tones stands out from any backdrop, in both looks.
    void focusRingShowsOverAnyBackdrop()
    {
        for (bool contrast : { false, true }) {
            AppState::instance().highContrast = contrast;
            const LookColours::Ring ring = LookColours::focusRing();
            QVERIFY(ring.width >= 2);
            for (int r = 0; r <= 255; r += 15)
                for (int g = 0; g <= 255; g += 15)
                    for (int b = 0; b <= 255; b += 15) {
                        const QColor backdrop(r, g, b);
                        const double best = qMax(LookColours::contrastRatio(backdrop, ring.dark),
                                                 LookColours::contrastRatio(backdrop, ring.light));
                        QVERIFY2(best >= 3.0, qPrintable(backdrop.name()));
                    }
        }
    }

    // Step 8 doubles step 4 and draws icons one to one from the "@2x"
    // pictures: every opaque icon pixel keeps its exact colour, which a
    // picture scaled up would smear.
    void largestStepIsTwiceAsLargeAndSharp()
    {
        AppState::instance().toolWidgetUISize = 4;
        makeBar();
        ToolWidgetBtn *pen = bar->button(ToolWidget::Pen);
        const int large = pen->width();
        QCOMPARE(large, 34);

        AppState::instance().toolWidgetUISize = 6;
        bar->slot_UpdateSize();
        QCOMPARE(pen->width(), 51);

        AppState::instance().toolWidgetUISize = 8;
        bar->slot_UpdateSize();
        QCOMPARE(pen->size(), QSize(2 * large, 2 * large));
        QCOMPARE(bar->button(ToolWidget::Save)->width(), 2 * (2 * large) + 1);
        // The title strip and its buttons grow with it.
        QCOMPARE(bar->closeButton()->size(), QSize(32, 32));
        bar->setFolded(true);
        QCOMPARE(bar->height(), 40);
        bar->setFolded(false);
        const QImage icon = ResourcePixmap::load(QStringLiteral(":/Res/Pen"), true).toImage();
        QCOMPARE(icon.size(), QSize(48, 48));
        const QImage shown = pen->grab().toImage();
        QRect target(QPoint(), icon.size());
        target.moveCenter(pen->rect().center());
        int opaque = 0;
        for (int y = 0; y < icon.height(); ++y)
            for (int x = 0; x < icon.width(); ++x) {
                const QRgb source = icon.pixel(x, y);
                if (qAlpha(source) != 255)
                    continue;
                ++opaque;
                QCOMPARE(shown.pixel(target.topLeft() + QPoint(x, y)), source);
            }
        QVERIFY(opaque > 50);
    }

    // At the largest step the toolbar would be taller than the screen: it
    // goes into two columns and stays whole on the screen.
    void largestToolbarStaysOnScreen()
    {
        makeBar();
        auto *central = bar->findChild<ToolCentralWidget *>();
        QCOMPARE(central->columnCount(), 1);
        AppState::instance().toolWidgetUISize = ToolbarScale::LargestStep;
        bar->slot_UpdateSize();
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QCOMPARE(screen.size(), QSize(1280, 800));
        QVERIFY(central->columnCount() > 1);
        QVERIFY2(screen.contains(bar->geometry()),
                 qPrintable(QStringLiteral("%1x%2").arg(bar->width()).arg(bar->height())));
        for (int i = 0; i < ToolWidget::ButtonCount; ++i) {
            ToolWidgetBtn *button = bar->button(i);
            const QRect shown(button->mapTo(bar.get(), QPoint()), button->size());
            QVERIFY(bar->rect().contains(shown));
        }
        bar->moveToolbar(QPoint(1200, 700));
        QVERIFY(screen.contains(bar->geometry()));
    }
};

int main(int argc, char *argv[])
{
    return execOnScreens<TestToolbarLook>(argc, argv, R"({ "screens": [
        { "name": "only", "x": 0, "y": 0, "width": 1280, "height": 800, "logicalDpi": 96 } ] })");
}

#include "test_toolbarlook.moc"
