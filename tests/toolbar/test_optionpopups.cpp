#include "app/appstate.h"
#include "canvas/linetool.h"
#include "canvas/mainview.h"
#include "canvas/pentool.h"
#include "canvas/shapetool.h"
#include "canvas/texttool.h"
#include "canvas/toolkit.h"
#include "mainwindow/desktoptoolrunner.h"
#include "mainwindow/mainwindow.h"
#include "modalanswerer.h"
#include "testenvironment.h"
#include "toolbar/fillwidget.h"
#include "toolbar/optionpopups.h"
#include "toolbar/palettebuttons.h"
#include "toolbar/popupnewpagewidget.h"
#include "toolbar/popupoppagewidget.h"
#include "toolbar/popupoptionwidget.h"
#include "toolbar/popuptoolswidget.h"
#include "toolbar/shapewidget.h"
#include "toolbar/strokewidget.h"
#include "toolbar/tabwidget.h"
#include "toolbar/textwidget.h"
#include "toolbar/toolwidget.h"
#include "toolbar/toolwidgetbtn_option.h"
#include "widgets/minbtn.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QButtonGroup>
#include <QDial>
#include <QSignalSpy>
#include <QSlider>
#include <QStyleOptionSlider>
#include <QtTest>

#include <memory>

class TestOptionPopups : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    std::unique_ptr<MainWindow> window;
    OptionPopups *popups = nullptr;

    QWidget *anchor() const { return window->toolbar()->optionButton(); }

    PopupOptionWidget *openOptions(int iTool, bool bIsPopup = true)
    {
        ToolKit::instance().setCurrentTool(iTool);
        popups->openDrawToolOptions(1, bIsPopup, anchor());
        auto *panel
            = bIsPopup ? qobject_cast<PopupOptionWidget *>(popups->popup()) : popups->floating();
        if (panel && !QTest::qWaitFor([panel] { return panel->isVisible(); }))
            return nullptr;
        return panel;
    }

    static void click(QButtonGroup *group, int id)
    {
        QAbstractButton *button = group->button(id);
        QVERIFY(button);
        QTest::mouseClick(button, Qt::LeftButton);
    }

    // Drags the slider's handle by dx pixels, as the user would.
    static void dragHandle(QSlider *slider, int dx)
    {
        QStyleOptionSlider option;
        option.initFrom(slider);
        option.orientation = slider->orientation();
        option.minimum = slider->minimum();
        option.maximum = slider->maximum();
        option.sliderPosition = option.sliderValue = slider->value();
        option.tickPosition = slider->tickPosition();
        option.subControls = QStyle::SC_SliderHandle;
        const QPoint handle
            = slider->style()
                  ->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, slider)
                  .center();
        QTest::mousePress(slider, Qt::LeftButton, {}, handle);
        QTest::mouseMove(slider, handle + QPoint(dx / 2, 0));
        QTest::mouseMove(slider, handle + QPoint(dx, 0));
        QTest::mouseRelease(slider, Qt::LeftButton, {}, handle + QPoint(dx, 0));
    }

private Q_SLOTS:
    void init()
    {
        env = std::make_unique<TestEnvironment>();
        ToolKit::reset();
        window = std::make_unique<MainWindow>();
        popups = new OptionPopups(window.get());
    }

    void cleanup()
    {
        window.reset();
        env.reset();
    }

    void nothingOpensWithoutOptions()
    {
        for (int tool : { ToolKit::Mouse, ToolKit::Select }) {
            ToolKit::instance().setCurrentTool(tool);
            popups->openDrawToolOptions(1, true, anchor());
            popups->openDrawToolOptions(1, false, anchor());
            QVERIFY(!popups->popup());
            QVERIFY(!popups->floating());
        }
        ToolKit::instance().setCurrentTool(ToolKit::Pen);
        popups->openDrawToolOptions(0, true, anchor());
        QVERIFY(!popups->popup());
    }

    void eraserHasLargePresetsAndNoColours()
    {
        PopupOptionWidget *panel = openOptions(ToolKit::Eraser);
        QVERIFY(panel);
        QVERIFY(!panel->tabs());
        StrokeWidget *stroke = panel->strokePage();
        // The eraser's width, a preset, shows as chosen.
        QCOMPARE(stroke->presetValue(stroke->presetGroup()->checkedId()),
                 AppState::instance().draw.eraserWidth);
        // Presets grow from the slider's start; one past the eraser's range
        // gives its largest width.
        QCOMPARE(stroke->presetValue(0), stroke->widthSlider()->minimum());
        for (int i = 1; i < 6; ++i)
            QVERIFY(stroke->presetValue(i) > stroke->presetValue(i - 1));
        QVERIFY(stroke->presetValue(0) > 10);
        click(stroke->presetGroup(), 5);
        QCOMPARE(stroke->widthSlider()->value(), stroke->widthSlider()->maximum());
        QVERIFY(!stroke->colourGroup());
        QVERIFY(!stroke->opacitySlider());
    }

    // Even the thinnest presets show a dot, each larger than the one before.
    void everyWidthPresetIsVisible()
    {
        StrokeWidget *stroke = openOptions(ToolKit::Pen)->strokePage();
        int previous = 0;
        for (int i = 0; i < 6; ++i) {
            const QImage picture
                = stroke->presetGroup()->button(i)->icon().pixmap(40, 40).toImage();
            int dot = 0;
            for (int y = 0; y < 27; ++y)
                for (int x = 0; x < 27; ++x)
                    dot += qAlpha(picture.pixel(x, y)) > 128 ? 1 : 0;
            QVERIFY2(dot > qMax(previous, 12), qPrintable(QString::number(i)));
            previous = dot;
        }
    }

    void strokePageWritesTheTemplate()
    {
        PopupOptionWidget *panel = openOptions(ToolKit::Pen);
        QVERIFY(panel);
        PenTool *pen = ToolKit::instance().penTool();
        StrokeWidget *stroke = panel->strokePage();

        click(stroke->presetGroup(), 4);
        QCOMPARE(pen->strokeTemplate.width, 20);
        QCOMPARE(pen->lineTemplate.width, 20);
        QCOMPARE(stroke->widthSlider()->value(), 20);
        QCOMPARE(window->toolbar()->dial()->value(), 20);

        dragHandle(stroke->widthSlider(), -40);
        const int dragged = stroke->widthSlider()->value();
        QVERIFY(dragged < 20);
        QCOMPARE(pen->strokeTemplate.width, dragged);
        QCOMPARE(window->toolbar()->dial()->value(), dragged);

        click(stroke->colourGroup(), 5);
        QCOMPARE(pen->strokeTemplate.colour, AppState::instance().rgb.at(5));
        QCOMPARE(pen->lineTemplate.colour, AppState::instance().rgb.at(5));

        // A width set on the dial shows after a refresh.
        window->slot_ChangeDrawToolWidth(10);
        popups->refreshStroke();
        QCOMPARE(stroke->presetGroup()->checkedId(), 3);
        QCOMPARE(stroke->widthSlider()->value(), 10);
    }

    void opacityOnlyForShapeAndText()
    {
        for (int tool = ToolKit::Pen; tool <= ToolKit::Text; ++tool) {
            PopupOptionWidget *options = openOptions(tool);
            QVERIFY(options);
            const bool expected = tool == ToolKit::Shape || tool == ToolKit::Text;
            QVERIFY2(bool(options->strokePage()->opacitySlider()) == expected,
                     qPrintable(QString::number(tool)));
        }
        PopupOptionWidget *panel = openOptions(ToolKit::Shape);
        QVERIFY(panel);
        panel->slot_TabClicked_Shape(1);
        QSlider *opacity = panel->strokePage()->opacitySlider();
        QVERIFY(opacity);
        dragHandle(opacity, -30);
        QVERIFY(opacity->value() < 100);
        QCOMPARE(ToolKit::instance().shapeTool()->shapeTemplate.opacity, opacity->value());
    }

    void shapeOptionsReopenOnTheLastTab()
    {
        PopupOptionWidget *panel = openOptions(ToolKit::Shape);
        QVERIFY(panel);
        QCOMPARE(panel->tabs()->tabCount(), 3);
        const QSize before = panel->size();
        QTest::mouseClick(panel->tabs(), Qt::LeftButton, {}, panel->tabs()->tabRect(2).center());
        QVERIFY(panel->fillPage()->isVisible());
        QVERIFY(!panel->shapePage()->isVisible());
        QVERIFY(panel->size() != before);
        QCOMPARE(ToolKit::instance().shapeTool()->popupIndex, 2);
        // The keyboard switches tabs too, and a reader hears page tabs.
        QTest::keyClick(panel->tabs(), Qt::Key_Left);
        QVERIFY(panel->strokePage()->isVisible());
        QAccessibleInterface *tabs = QAccessible::queryAccessibleInterface(panel->tabs());
        QCOMPARE(tabs->child(1)->role(), QAccessible::PageTab);
        QCOMPARE(tabs->child(1)->text(QAccessible::Name), QStringLiteral("Stroke"));
        QTest::keyClick(panel->tabs(), Qt::Key_Right);

        QPointer<PopupOptionWidget> old = panel;
        popups->hidePopup();
        QTRY_VERIFY(!old);
        panel = openOptions(ToolKit::Shape);
        QVERIFY(panel);
        QCOMPARE(panel->tabs()->currentIndex(), 2);
        QVERIFY(panel->fillPage()->isVisible());
    }

    void noFillIsTransparent()
    {
        ObjShape &shape = ToolKit::instance().shapeTool()->shapeTemplate;
        shape.fill = Qt::red;
        PopupOptionWidget *panel = openOptions(ToolKit::Shape);
        QVERIFY(panel);
        panel->slot_TabClicked_Shape(2);
        click(panel->fillPage()->colourGroup(), FillWidget::NoFill);
        QCOMPARE(shape.fill, QColor(Qt::transparent));
        click(panel->fillPage()->colourGroup(), 2);
        QCOMPARE(shape.fill, AppState::instance().rgb.at(2));
        // Only while the shape tool is current.
        ToolKit::instance().setCurrentTool(ToolKit::Line);
        click(panel->fillPage()->colourGroup(), FillWidget::NoFill);
        QCOMPARE(shape.fill, AppState::instance().rgb.at(2));
    }

    void textPageTogglesFontAndAlignment()
    {
        ObjText &text = ToolKit::instance().textTool()->textTemplate;
        PopupOptionWidget *panel = openOptions(ToolKit::Text);
        QVERIFY(panel);
        TextWidget *page = panel->textPage();
        click(page->fontGroup(), 0);
        QCOMPARE(text.font.weight(), QFont::Bold);
        click(page->fontGroup(), 0);
        QCOMPARE(text.font.weight(), QFont::Normal);
        click(page->fontGroup(), 1);
        QVERIFY(text.font.italic());
        click(page->alignGroup(), 2);
        QCOMPARE(text.alignment, int(Qt::AlignRight));
    }

    void transientPopupClosesOnClickOutsideItsOutline()
    {
        window->toolbar()->moveToolbar(QPoint(0, 100));
        QVERIFY(window->toolbar()->isOnLeft());
        popups->openSave(window->toolbar()->button(ToolWidget::Save));
        QPointer<PopupWidget> panel = popups->popup();
        QTRY_VERIFY(panel && panel->isVisible());
        // The pointer strip on the left: inside the rectangle, outside the outline.
        const QPoint beside(2, 2);
        QVERIFY(!panel->outline().contains(beside));
        const QPoint inside = panel->rect().center() + QPoint(panel->width() / 4, 0);
        QVERIFY(panel->outline().contains(inside));
        QTest::mousePress(panel, Qt::LeftButton, {}, inside);
        QVERIFY(panel->isVisible());
        QTest::mousePress(panel, Qt::LeftButton, {}, beside);
        QTRY_VERIFY(!panel);
        QVERIFY(!popups->popup());
    }

    void floatingWidgetIsKeptInsideAndFolds()
    {
        window->SetDrawMode(true);
        PopupOptionWidget *panel = openOptions(ToolKit::Pen, false);
        QVERIFY(panel);
        QCOMPARE(panel->parentWidget(), window.get());
        const QSize unfolded = panel->size();

        QTest::mousePress(panel, Qt::LeftButton, {}, QPoint(panel->width() / 2, 8));
        QTest::mouseMove(panel, QPoint(-3000, 40));
        QTest::mouseRelease(panel, Qt::LeftButton, {}, QPoint(panel->width() / 2, 8));
        QCOMPARE(panel->x(), 0);
        QCOMPARE(popups->floatingPlace().pos, panel->pos());

        MinBtn *fold = panel->findChild<MinBtn *>();
        QTest::mouseClick(fold, Qt::LeftButton);
        QCOMPARE(panel->size(), QSize(unfolded.width(), AppState::instance().scaled(20)));
        QTest::mouseClick(fold, Qt::LeftButton);
        QCOMPARE(panel->size(), unfolded);

        // Another tool rebuilds it in the same place.
        AppState::instance().showFloatingOptionWidget = true;
        const QPoint place = panel->pos();
        ToolKit::instance().setCurrentTool(ToolKit::Line);
        popups->toolChanged(anchor());
        QTRY_VERIFY(popups->floating() && popups->floating() != panel
                    && popups->floating()->isVisible());
        QCOMPARE(popups->floating()->pos(), place);
        QVERIFY(popups->floating()->linePage());
    }

    void closingTheFloatingWidgetSwitchesItOff()
    {
        window->SetDrawMode(true);
        AppState::instance().showFloatingOptionWidget = true;
        QSignalSpy closed(popups, &OptionPopups::signal_FloatingClosed);
        PopupOptionWidget *panel = openOptions(ToolKit::Highlighter, false);
        QVERIFY(panel);
        panel->slot_Close();
        QCOMPARE(closed.count(), 1);
        QVERIFY(!AppState::instance().showFloatingOptionWidget);
        QTRY_VERIFY(!popups->floating());
    }

    // The desktop tools chosen here stay pending behind the longest capture
    // delay; the busy flag is cleared by hand to go on.
    void commandPanelsReachTheMainWindow()
    {
        AppState::instance().captureDelay = 5000;
        popups->openTools(window->toolbar()->button(ToolWidget::Tools));
        auto *tools = qobject_cast<PopupToolsWidget *>(popups->popup());
        QVERIFY(tools);
        // Before any capture there is no previous area to capture again.
        QVERIFY(!tools->entries()->button(3)->isEnabled());
        window->slot_SelectTools(3);
        QVERIFY(!window->isBusy());
        click(tools->entries(), 7);
        QCOMPARE(window->desktopTools()->currentTool(), 7);
        QVERIFY(window->isBusy());
        window->setBusy(false);
        QTRY_VERIFY(!popups->popup());

        popups->openNewpage(window->toolbar()->button(ToolWidget::NewPage));
        auto *newpage = qobject_cast<PopupNewpageWidget *>(popups->popup());
        QVERIFY(newpage);
        click(newpage->entries(), 4);
        QCOMPARE(AppState::instance().draw.newpageColor, AppState::instance().rgb.at(4));
        QCOMPARE(window->view()->document().pageCount(), 1);

        popups->openNewpage(window->toolbar()->button(ToolWidget::NewPage));
        newpage = qobject_cast<PopupNewpageWidget *>(popups->popup());
        click(newpage->entries(), PopupNewpageWidget::Picker);
        QCOMPARE(window->desktopTools()->currentTool(), 43);
        window->setBusy(false);
        popups->openNewpage(window->toolbar()->button(ToolWidget::NewPage));
        click(qobject_cast<PopupNewpageWidget *>(popups->popup())->entries(), 7);
        QCOMPARE(window->view()->document().pageCount(), 2);

        popups->openOpPage(window->toolbar()->button(ToolWidget::ClearPage));
        auto *opPage = qobject_cast<PopupOpPageWidget *>(popups->popup());
        QVERIFY(opPage);
        // The question opens while the chosen button is still in its click:
        // the panel, and the button, must outlive it.
        const QPointer<PopupOpPageWidget> panel = opPage;
        bool inClick = true;
        bool goneInClick = false;
        connect(opPage, &QObject::destroyed, [&] { goneInClick = inClick; });
        ModalAnswerer confirm(QMessageBox::Ok);
        click(opPage->entries(), 0);
        inClick = false;
        QCOMPARE(confirm.texts.size(), 1);
        QCOMPARE(window->view()->document().pageCount(), 1);
        QVERIFY(!goneInClick);
        QTRY_VERIFY(!panel);
    }
};

QTEST_MAIN(TestOptionPopups)
#include "test_optionpopups.moc"
