#include "../canvas/canvasfixture.h"
#include "app/appstate.h"
#include "app/lang.h"
#include "app/settledannouncement.h"
#include "browser/browserdlg.h"
#include "desktoptools/capturedlg.h"
#include "desktoptools/capturewin.h"
#include "desktoptools/pickerdlg.h"
#include "desktoptools/protractordlg.h"
#include "desktoptools/rulerdlg.h"
#include "desktoptools/rulerpreferencesdlg.h"
#include "desktoptools/zoomdlg.h"
#include "desktoptools/zoommemory.h"
#include "dialogs/aboutdlg.h"
#include "dialogs/preferencesdlg.h"
#include "dialogs/textinputdlg.h"
#include "mainwindow/accessiblefactory.h"
#include "mainwindow/exportdlg.h"
#include "mainwindow/mainwindow.h"
#include "testenvironment.h"
#include "toolbar/optionpopups.h"
#include "toolbar/popupwidget.h"
#include "toolbar/toolwidget.h"
#include "toolbar/toolwidgetbtn.h"
#include "toolbar/toolwidgetbtn_option.h"
#include "widgets/colourname.h"
#include "widgets/minbtn.h"

#include <QAccessible>
#include <QDial>
#include <QRegularExpression>
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

    // Every control below pRoot that the user can reach (not hidden on
    // purpose) without a name, or named like an identifier.
    static inline int s_controls = 0;
    // With bChinese, a name or description still in English is a problem too,
    // but for the program's name and a combo box's font families.
    static QStringList unnamed(QWidget *pRoot, const QString &strWhere, bool bChinese = false)
    {
        static const QSet<QAccessible::Role> controls {
            QAccessible::Button,   QAccessible::CheckBox,     QAccessible::RadioButton,
            QAccessible::Slider,   QAccessible::Dial,         QAccessible::SpinBox,
            QAccessible::ComboBox, QAccessible::EditableText, QAccessible::PageTab,
            QAccessible::ListItem, QAccessible::MenuItem,     QAccessible::ButtonMenu
        };
        static const QRegularExpression identifier(
            QStringLiteral("\\b[a-z]+[A-Z]|_|^:/|Btn|Widget|Dlg\\b|^Q[A-Z]"));
        static const QRegularExpression english(QStringLiteral("[A-Za-z]{2,}"));
        static const QRegularExpression product(QStringLiteral("tavelmark"),
                                                QRegularExpression::CaseInsensitiveOption);
        QStringList found;
        std::function<void(QAccessibleInterface *, const QString &, bool)> visit
            = [&](QAccessibleInterface *node, const QString &where, bool bLanguage) {
                  // Widgets of a window not shown yet count as hidden too.
                  auto *widget = qobject_cast<QWidget *>(node->object());
                  if (widget && widget->isHidden()
                      && widget->testAttribute(Qt::WA_WState_ExplicitShowHide))
                      return;
                  const QString name = node->text(QAccessible::Name);
                  const QString here = where + QLatin1Char('/')
                      + (node->object() ? QLatin1String(node->object()->metaObject()->className())
                                        : QLatin1String("item"))
                      + QLatin1Char(':') + name;
                  if (controls.contains(node->role())) {
                      ++s_controls;
                      const QString said
                          = QString(name + node->text(QAccessible::Description)).remove(product);
                      bLanguage = bLanguage && node->role() != QAccessible::ComboBox;
                      if (name.trimmed().isEmpty() || identifier.match(name).hasMatch()
                          || (bLanguage && english.match(said).hasMatch()))
                          found.append(here);
                  }
                  for (int i = 0; i < node->childCount(); ++i)
                      if (QAccessibleInterface *child = node->child(i))
                          visit(child, here, bLanguage);
              };
        visit(of(pRoot), strWhere, bChinese);
        return found;
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

        QCOMPARE(of(bar.dial())->role(), QAccessible::Dial);
        QCOMPARE(of(bar.dial())->text(QAccessible::Name), QStringLiteral("Width"));
    }

    void everyReachableControlIsNamed_data()
    {
        QTest::addColumn<QString>("language");
        QTest::newRow("English") << QStringLiteral("en_GB");
        QTest::newRow("Simplified Chinese") << QStringLiteral("zh_CN");
        QTest::newRow("Traditional Chinese") << QStringLiteral("zh_TW");
    }

    // In Chinese, the names the toolbar and its panels give are Chinese too.
    void everyReachableControlIsNamed()
    {
        QFETCH(QString, language);
        const bool chinese = language != QLatin1String("en_GB");
        TestEnvironment env;
        QDir().mkpath(env.dataFolder());
        QVERIFY(
            writeFile(env.dataFolder() + QStringLiteral("/Setting.ini"),
                      "[UserInterface]\nShowTrayIcon=0\nLanguage=" + language.toLatin1() + "\n"));
        ToolKit::reset();
        MainWindow window;
        QCOMPARE(AppState::instance().language, language);
        window.view()->newPage();
        window.view()->newPage();
        QStringList problems = unnamed(window.toolbar(), QStringLiteral("toolbar"), chinese);

        OptionPopups *popups = window.optionPopups();
        QWidget *anchor = window.toolbar()->optionButton();
        const QList<std::pair<QString, std::function<void()>>> panels {
            { QStringLiteral("new page"), [&] { popups->openNewpage(anchor); } },
            { QStringLiteral("page"), [&] { popups->openOpPage(anchor); } },
            { QStringLiteral("save"), [&] { popups->openSave(anchor); } },
            { QStringLiteral("tools"), [&] { popups->openTools(anchor); } },
        };
        for (const auto &[name, open] : panels) {
            open();
            problems += unnamed(popups->popup(), name, chinese);
        }
        for (int tool : { ToolKit::Pen, ToolKit::Highlighter, ToolKit::Eraser, ToolKit::Line,
                          ToolKit::Shape, ToolKit::Text }) {
            ToolKit::instance().setCurrentTool(tool);
            popups->openDrawToolOptions(1, true, anchor);
            problems += unnamed(popups->popup(), QStringLiteral("options %1").arg(tool), chinese);
        }
        popups->hidePopup();

        PreferencesDlg preferences(&window);
        problems += unnamed(&preferences, QStringLiteral("preferences"));
        AboutDlg about(&window);
        problems += unnamed(&about, QStringLiteral("about"));
        TextInputDlg text(0, false, &window);
        problems += unnamed(&text, QStringLiteral("text input"));
        ExportDlg exporter(window.documentCommands(), window.documentFiles(), &window);
        problems += unnamed(&exporter, QStringLiteral("export"));
        BrowserDlg browser(window.view());
        problems += unnamed(&browser, QStringLiteral("browser"));

        QPixmap still(640, 480);
        still.fill(Qt::darkCyan);
        for (int mode : { CaptureDlg::Rectangle, CaptureDlg::Freeform }) {
            CaptureDlg capture(mode, &still, nullptr);
            problems += unnamed(&capture, QStringLiteral("capture %1").arg(mode));
        }
        CaptureWin windowCapture(nullptr);
        problems += unnamed(&windowCapture, QStringLiteral("window capture"));
        PickerDlg picker(&still, false, nullptr);
        problems += unnamed(&picker, QStringLiteral("picker"));
        ZoomMemory zoomMemory;
        ZoomDlg zoom(&still, &zoomMemory, nullptr);
        problems += unnamed(&zoom, QStringLiteral("magnifier"));
        RulerDlg ruler(false, true);
        problems += unnamed(&ruler, QStringLiteral("ruler"));
        RulerPreferencesDlg rulerPreferences(&ruler);
        problems += unnamed(&rulerPreferences, QStringLiteral("ruler preferences"));
        ProtractorDlg protractor(&still, nullptr);
        problems += unnamed(&protractor, QStringLiteral("protractor"));
        // The failure message is cut short; the whole list goes to the log.
        problems.removeDuplicates();
        for (const QString &problem : std::as_const(problems))
            qWarning().noquote() << "unnamed:" << problem;
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
        QVERIFY2(s_controls > 150, qPrintable(QString::number(s_controls)));
    }

    // The default palette's swatches, each told apart by its name.
    void coloursAreSpokenByHueAndLightness()
    {
        TestEnvironment env;
        QStringList names;
        for (const QColor &colour : AppState::defaultRgb())
            names.append(ColourName::spoken(colour));
        Lang::release();
        QCOMPARE(names,
                 QStringList({ "Black", "White", "Grey", "Light grey", "Dark Red", "Brown", "Red",
                               "Light Pink", "Orange", "Gold", "Yellow", "Light Gold", "Green",
                               "Lime", "Sky blue", "Light Sky blue", "Indigo", "Blue" }));
        QCOMPARE(ColourName::spoken(QColor()), QString());
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

    // The quick colours are painted, not widgets: the option button gives
    // them to a reader as named children that press like a click.
    void quickColoursArePressableChildren()
    {
        TestEnvironment env;
        ToolWidget bar;
        bar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&bar));
        bar.setCurrentToolButton(ToolWidget::Pen);
        ToolWidgetBtn_Option *option = bar.optionButton();
        QAccessibleInterface *button = of(option);
        QCOMPARE(button->childCount(), ToolWidgetBtn_Option::SwatchCount);
        QAccessibleInterface *swatch = button->child(4);
        QCOMPARE(swatch->parent(), button);
        QCOMPARE(button->indexOfChild(swatch), 4);
        const QColor colour = AppState::instance().rgb2.at(4);
        QCOMPARE(swatch->text(QAccessible::Name), ColourName::spoken(colour));
        const QRect local = option->swatchRect(4);
        QCOMPARE(swatch->rect(), QRect(option->mapToGlobal(local.topLeft()), local.size()));
        QCOMPARE(button->childAt(swatch->rect().center().x(), swatch->rect().center().y()), swatch);

        QSignalSpy picked(option, &ToolWidgetBtn_Option::signal_ColourPicked);
        swatch->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(picked.size(), 1);
        QCOMPARE(picked.at(0).at(0).value<QColor>(), colour);
        bar.setCurrentToolButton(ToolWidget::Eraser);
        QVERIFY(swatch->state().disabled);
        swatch->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(picked.size(), 1);
    }

    // Told once paging pauses, not for each page passed; nothing while no
    // reader listens, and the page as it is to a reader that starts later.
    void pageNumberToldOnceSettled()
    {
        CanvasFixture canvas;
        QVERIFY(canvas.exposed);
        canvas.view->newPage();
        canvas.view->newPage();
        QCOMPARE(canvas.view->accessibleName(), QString());

        SettledAnnouncement::setListening([] { return true; });
        QAccessible::setActive(true);
        QTRY_COMPARE(canvas.view->accessibleName(), QStringLiteral("Page 3 of 3"));
        Document &doc = canvas.view->document();
        QVERIFY(doc.gotoPage(0));
        QVERIFY(doc.gotoPage(1));
        QCOMPARE(canvas.view->accessibleName(), QStringLiteral("Page 3 of 3"));
        QTRY_COMPARE(canvas.view->accessibleName(), QStringLiteral("Page 2 of 3"));
        canvas.view->newPage();
        QTRY_COMPARE(canvas.view->accessibleName(), QStringLiteral("Page 3 of 4"));
        QAccessible::setActive(false);
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
