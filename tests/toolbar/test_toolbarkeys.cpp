#include "canvas/toolkit.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/menubar.h"
#include "testenvironment.h"
#include "toolbar/optionpopups.h"
#include "toolbar/popupwidget.h"
#include "toolbar/toolwidget.h"
#include "toolbar/toolwidgetbtn.h"
#include "toolbar/toolwidgetbtn_option.h"
#include "widgets/focusring.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDial>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

// The toolbar of a real main window walked and pressed with keys alone.
class TestToolbarKeys : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    std::unique_ptr<MainWindow> window;
    ToolWidget *bar = nullptr;

    ToolWidgetBtn *button(int index) const { return bar->button(index); }
    static QWidget *focus() { return QApplication::focusWidget(); }

    // A key to whatever has the keyboard, as the window system would send it.
    static void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget *target = focus();
        QVERIFY(target);
        QTest::keyClick(target, k, modifiers);
    }

    void focusToolbar()
    {
        bar->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(bar));
        window->menu()->actionFocusToolbar->trigger();
    }

    // The pixel just inside the outer edge, where the ring's colour shows.
    static QColor ringPixel(QWidget *pWidget)
    {
        return pWidget->grab().toImage().pixelColor(1, pWidget->height() / 2);
    }

private Q_SLOTS:
    void init()
    {
        env = std::make_unique<TestEnvironment>();
        ToolKit::reset();
        window = std::make_unique<MainWindow>();
        bar = window->toolbar();
        QVERIFY(QTest::qWaitForWindowExposed(bar));
    }

    void cleanup()
    {
        window.reset();
        env.reset();
    }

    void walkFollowsReadingOrderAndTheGrid()
    {
        focusToolbar();
        // Undo and Redo start disabled: the walk begins at the first control
        // that can act.
        QCOMPARE(focus(), button(ToolWidget::Mouse));
        QVERIFY(bar->isKeyboardMode());
        key(Qt::Key_Tab);
        QCOMPARE(focus(), button(ToolWidget::Select));
        key(Qt::Key_Down);
        QCOMPARE(focus(), button(ToolWidget::Highlighter));
        key(Qt::Key_Left);
        QCOMPARE(focus(), button(ToolWidget::Pen));
        key(Qt::Key_Left);
        QCOMPARE(focus(), button(ToolWidget::Pen)); // nothing further that way
        key(Qt::Key_Down);
        key(Qt::Key_Down);
        QCOMPARE(focus(), button(ToolWidget::Shape));
        // The dial of the mouse has no range and is skipped.
        QVERIFY(!bar->dial()->isEnabled());
        key(Qt::Key_Down);
        QCOMPARE(focus(), static_cast<QWidget *>(bar->optionButton()));
        key(Qt::Key_Down);
        QCOMPARE(focus(), button(ToolWidget::NewPage));
        key(Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(focus(), static_cast<QWidget *>(bar->optionButton()));
        key(Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(focus(), button(ToolWidget::Text));

        // Tab wraps within the toolbar, which the walk never leaves.
        focusToolbar();
        key(Qt::Key_Backtab, Qt::ShiftModifier);
        QVERIFY(bar->isAncestorOf(focus()));
        QVERIFY(bar->keyboardControls().endsWith(focus()));
        key(Qt::Key_Tab);
        QCOMPARE(focus(), button(ToolWidget::Mouse));
    }

    void spaceAndReturnPressLikeAClick()
    {
        focusToolbar();
        ToolWidgetBtn *pen = button(ToolWidget::Pen);
        pen->setFocus(Qt::TabFocusReason);
        QSignalSpy spy(pen, &ToolWidgetBtn::signals_Clicked);
        key(Qt::Key_Space);
        // The pen opens a page, into which the toolbar moves: the keyboard
        // stays on the same button.
        QTRY_VERIFY(window->isVisible() && bar->parentWidget() == window.get());
        QTRY_COMPARE(focus(), static_cast<QWidget *>(pen));
        QVERIFY(ToolWidget::showsFocusRing(pen));
        key(Qt::Key_Return);
        QCOMPARE(spy.size(), 2);
        QCOMPARE(spy.at(0).at(0).value<qint8>(), qint8(1));
        QCOMPARE(spy.at(1).at(0).value<qint8>(), qint8(1));
        // A square button has no popup strip to open.
        key(Qt::Key_F10, Qt::ShiftModifier);
        QCOMPARE(spy.size(), 2);
    }

    void menuKeyOpensThePopupAndEscapeComesBack()
    {
        focusToolbar();
        ToolWidgetBtn *newPage = button(ToolWidget::NewPage);
        newPage->setFocus(Qt::TabFocusReason);
        key(Qt::Key_F10, Qt::ShiftModifier);
        PopupWidget *popup = window->optionPopups()->popup();
        QVERIFY(popup);
        QVERIFY(QTest::qWaitFor([popup] { return popup->isVisible(); }));
        QVERIFY(popup->isAncestorOf(focus()));
        QCOMPARE(ringPixel(focus()), FocusRing::colour());
        QWidget *first = focus();
        key(Qt::Key_Right);
        QVERIFY(focus() != first);
        QVERIFY(popup->isAncestorOf(focus()));
        key(Qt::Key_Escape);
        QVERIFY(QTest::qWaitFor([this] { return !window->optionPopups()->popup(); }));
        QTRY_COMPARE(focus(), static_cast<QWidget *>(newPage));
        QVERIFY(ToolWidget::showsFocusRing(newPage));

        // The menu key opens the option popup too, and Return chooses an entry.
        ToolKit::instance().setCurrentTool(ToolKit::Pen);
        bar->optionButton()->setFocus(Qt::TabFocusReason);
        key(Qt::Key_Menu);
        popup = window->optionPopups()->popup();
        QVERIFY(popup);
        QVERIFY(QTest::qWaitFor([popup] { return popup->isVisible(); }));
        auto *entry = qobject_cast<QAbstractButton *>(focus());
        QVERIFY(entry);
        QVERIFY(entry->isCheckable());
        key(Qt::Key_Right);
        entry = qobject_cast<QAbstractButton *>(focus());
        QVERIFY(entry && !entry->isChecked());
        key(Qt::Key_Return);
        QVERIFY(entry->isChecked());
    }

    void ringAndKeyboardOnlyInKeyboardMode()
    {
        const QColor ring = FocusRing::colour();
        ToolWidgetBtn *mouse = button(ToolWidget::Mouse);
        const auto onControl = [this] { return bar->keyboardControls().contains(focus()); };
        // A window's activation alone hands no button the keyboard, which
        // would take Space and Escape from the page.
        bar->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(bar));
        QVERIFY(!onControl());

        focusToolbar();
        QCOMPARE(focus(), static_cast<QWidget *>(mouse));
        QCOMPARE(ringPixel(mouse), ring);
        key(Qt::Key_Escape);
        QVERIFY(!bar->isKeyboardMode());
        QVERIFY(!onControl());
        QVERIFY(ringPixel(mouse) != ring);

        // A mouse press ends keyboard mode: no ring is left behind.
        focusToolbar();
        QTest::mouseClick(mouse, Qt::LeftButton);
        QVERIFY(!bar->isKeyboardMode());
        QVERIFY(!onControl());
        QVERIFY(ringPixel(mouse) != ring);
        // Tab brings keyboard mode and the ring back.
        key(Qt::Key_Tab);
        QVERIFY(bar->isKeyboardMode());
        QVERIFY(onControl());
        QCOMPARE(ringPixel(focus()), ring);
    }

    void dialTurnsByArrowsAndTellsTheTool()
    {
        ToolKit::instance().setCurrentTool(ToolKit::Pen);
        bar->setDial(5, 1, 36);
        focusToolbar();
        bar->dial()->setFocus(Qt::TabFocusReason);
        QSignalSpy moved(bar->dial(), &QDial::sliderMoved);
        key(Qt::Key_Up);
        QCOMPARE(bar->dial()->value(), 6);
        QCOMPARE(moved.size(), 1);
        QCOMPARE(focus(), static_cast<QWidget *>(bar->dial()));
    }
};

QTEST_MAIN(TestToolbarKeys)
#include "test_toolbarkeys.moc"
