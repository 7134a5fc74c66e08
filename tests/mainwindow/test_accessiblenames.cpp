#include "../canvas/canvasfixture.h"
#include "app/settledannouncement.h"
#include "desktoptools/capturedlg.h"
#include "mainwindow/accessiblefactory.h"
#include "testenvironment.h"
#include "toolbar/toolwidget.h"
#include "toolbar/toolwidgetbtn.h"
#include "toolbar/toolwidgetbtn_option.h"
#include "widgets/closebtn.h"
#include "widgets/menubtn.h"
#include "widgets/minbtn.h"

#include <QAccessible>
#include <QDial>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

// What a screen reader is told: the toolbar's buttons as named, stated and
// pressable controls, the page number after a turn and a capture's
// measurement once a drag settles.
class TestAccessibleNames : public QObject
{
    Q_OBJECT

    static QAccessibleInterface *of(QObject *pObject)
    {
        return QAccessible::queryAccessibleInterface(pObject);
    }

    static QList<qint8> pressKinds(ToolWidgetBtn *pButton, const QString &strAction)
    {
        QSignalSpy spy(pButton, &ToolWidgetBtn::signals_Clicked);
        of(pButton)->actionInterface()->doAction(strAction);
        QCoreApplication::sendPostedEvents();
        QList<qint8> kinds;
        for (const QList<QVariant> &arguments : spy)
            kinds.append(arguments.at(0).value<qint8>());
        return kinds;
    }

private Q_SLOTS:
    void initTestCase() { AccessibleFactory::install(); }

    void toolbarButtonsAreNamedStatedControls()
    {
        TestEnvironment env;
        ToolWidget bar;
        bar.setCurrentToolButton(ToolWidget::Pen);
        QStringList names;
        for (int i = 0; i < ToolWidget::ButtonCount; ++i) {
            QAccessibleInterface *button = of(bar.button(i));
            QVERIFY(button);
            QCOMPARE(button->role(), QAccessible::Button);
            const QString name = button->text(QAccessible::Name);
            QVERIFY2(!name.isEmpty() && !name.endsWith(QLatin1Char('.')), qPrintable(name));
            names.append(name);
            const bool tool = i >= ToolWidget::Mouse && i <= ToolWidget::Text;
            QCOMPARE(bool(button->state().checkable), tool || i == ToolWidget::LiveDesktop);
            QCOMPARE(bool(button->state().checked), i == ToolWidget::Pen);
        }
        QCOMPARE(names.at(ToolWidget::Pen), QStringLiteral("Pen"));
        QCOMPARE(names.at(ToolWidget::Browser), QStringLiteral("Page Browser"));
        QCOMPARE(names.at(ToolWidget::Save), QStringLiteral("Save"));
        QCOMPARE(QSet<QString>(names.begin(), names.end()).size(), names.size());
        QVERIFY(!of(bar.button(ToolWidget::Pen))->text(QAccessible::Description).isEmpty());
        QVERIFY(of(bar.button(ToolWidget::Undo))->state().disabled);
        QVERIFY(!of(bar.button(ToolWidget::Pen))->state().disabled);

        QCOMPARE(of(bar.optionButton())->text(QAccessible::Name),
                 QStringLiteral("Draw Tool Options"));
        QCOMPARE(of(bar.dial())->role(), QAccessible::Dial);
        QCOMPARE(of(bar.dial())->text(QAccessible::Name), QStringLiteral("Width"));
        for (QWidget *strip : { static_cast<QWidget *>(bar.findChild<CloseBtn *>()),
                                static_cast<QWidget *>(bar.findChild<MinBtn *>()),
                                static_cast<QWidget *>(bar.findChild<MenuBtn *>()) }) {
            QVERIFY(strip);
            QCOMPARE(of(strip)->role(), QAccessible::Button);
            QVERIFY(!of(strip)->text(QAccessible::Name).isEmpty());
        }
    }

    // A reader's press is a click on the face; Show Menu a click on the strip,
    // which faces the screen centre.
    void actionsPressAsClicks()
    {
        TestEnvironment env;
        ToolWidget bar;
        bar.show();
        const QString press = QAccessibleActionInterface::pressAction();
        const QString menu = QAccessibleActionInterface::showMenuAction();
        ToolWidgetBtn *pen = bar.button(ToolWidget::Pen);
        QVERIFY(!of(pen)->actionInterface()->actionNames().contains(menu));
        QCOMPARE(pressKinds(pen, press), QList<qint8>({ 1 }));

        ToolWidgetBtn *newPage = bar.button(ToolWidget::NewPage);
        QVERIFY(of(newPage)->actionInterface()->actionNames().contains(menu));
        QVERIFY(of(newPage)->state().hasPopup);
        QCOMPARE(pressKinds(newPage, press), QList<qint8>({ 1 }));
        const qint8 strip = bar.isOnLeft() ? 4 : 3;
        QCOMPARE(pressKinds(newPage, menu), QList<qint8>({ strip }));

        QVERIFY(pressKinds(bar.button(ToolWidget::Undo), press).isEmpty());
        QSignalSpy minimized(bar.findChild<MinBtn *>(), &QAbstractButton::clicked);
        of(bar.findChild<MinBtn *>())->actionInterface()->doAction(press);
        QTRY_COMPARE(minimized.count(), 1);
    }

    // Told once paging pauses, not for each page passed; nothing while no
    // reader listens.
    void pageNumberToldOnceSettled()
    {
        CanvasFixture canvas;
        QVERIFY(canvas.exposed);
        canvas.view->newPage();
        canvas.view->newPage();
        QCOMPARE(canvas.view->accessibleName(), QString());

        SettledAnnouncement::setListening([] { return true; });
        Document &doc = canvas.view->document();
        QVERIFY(doc.gotoPage(0));
        QVERIFY(doc.gotoPage(1));
        QCOMPARE(canvas.view->accessibleName(), QString());
        QTRY_COMPARE(canvas.view->accessibleName(), QStringLiteral("Page 2 of 3"));
        canvas.view->newPage();
        QTRY_COMPARE(canvas.view->accessibleName(), QStringLiteral("Page 3 of 4"));
        SettledAnnouncement::setListening(nullptr);
    }

    void captureMeasurementToldAfterDrag()
    {
        TestEnvironment env;
        QPixmap still(800, 800);
        still.fill(Qt::gray);
        SettledAnnouncement::setListening([] { return true; });
        CaptureDlg dialog(CaptureDlg::Rectangle, &still, nullptr);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        const QRect start = dialog.markedRect();
        const auto spoken = [](const QRect &r) {
            return QStringLiteral("x %1, y %2, width %3, height %4")
                .arg(r.left())
                .arg(r.top())
                .arg(r.width())
                .arg(r.height());
        };
        QCOMPARE(dialog.spokenMeasurement(), spoken(start));
        QTRY_COMPARE(dialog.accessibleName(), spoken(start));
        // The body dragged by 40, 28 in four moves: nothing is told while the
        // moves come, the place where it stops once they pause.
        const QPoint from = start.center();
        QTest::mousePress(&dialog, Qt::LeftButton, Qt::NoModifier, from);
        for (int step = 1; step <= 4; ++step)
            QTest::mouseMove(&dialog, from + step * QPoint(10, 7));
        QTest::mouseRelease(&dialog, Qt::LeftButton, Qt::NoModifier, from + QPoint(40, 28));
        QCOMPARE(dialog.accessibleName(), spoken(start));
        QTRY_COMPARE(dialog.accessibleName(), spoken(start.translated(40, 28)));
        SettledAnnouncement::setListening(nullptr);
    }
};

QTEST_MAIN(TestAccessibleNames)
#include "test_accessiblenames.moc"
