#include "app/appstate.h"
#include "app/lang.h"
#include "app/qttranslations.h"
#include "browser/browserdlg.h"
#include "canvas/mainview.h"
#include "canvas/toolkit.h"
#include "desktoptools/capturedlg.h"
#include "desktoptools/capturewin.h"
#include "desktoptools/desktoptoolpanel.h"
#include "desktoptools/pickerdlg.h"
#include "desktoptools/protractordlg.h"
#include "desktoptools/rulerdlg.h"
#include "desktoptools/rulerpreferencesdlg.h"
#include "desktoptools/zoomdlg.h"
#include "desktoptools/zoommemory.h"
#include "dialogs/aboutdlg.h"
#include "dialogs/preferencesdlg.h"
#include "dialogs/textinputdlg.h"
#include "document/mainpage.h"
#include "mainwindow/desktoptoolrunner.h"
#include "mainwindow/exportdlg.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/menubar.h"
#include "testenvironment.h"
#include "toolbar/optionpopups.h"
#include "toolbar/popupoptionwidget.h"
#include "toolbar/popupwidget.h"
#include "toolbar/tabwidget.h"
#include "toolbar/toolwidget.h"
#include "toolbar/toolwidgetbtn.h"
#include "toolbar/toolwidgetbtn_option.h"
#include "update/updatedlg.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRegularExpression>
#include <QTextDocumentFragment>
#include <QTextEdit>
#include <QTimer>
#include <QtTest>

#include <memory>

// Every text the program shows, built in each Chinese table, must be
// translated; changing the language re-texts what is open at once; the
// toolkit's own dialogs follow the language.
class TestTranslations : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    std::unique_ptr<MainWindow> window;
    QStringList shown;

    // Names, units and abbreviations that stay as they are in every language.
    static QString withoutNames(QString strText)
    {
        static const QRegularExpression names(QStringLiteral(
            "\\b(Quillbury|Tavelmark|English|Segoe UI|Arial|Microsoft JhengHei|Wacom|IWB|DWM|"
            "DPI|PDF|PNG|JPG|JPEG|BMP|ZIP|SVG|MB|RGB|HSV|Hex|Ctrl|Shift|Alt|Win|"
            "bmp|jpg|jpeg|png|svg|pdf|zip|ini|tavelmark|picom|xcompmgr)\\b"));
        return strText.remove(names);
    }

    static bool stillEnglish(const QString &strText)
    {
        static const QRegularExpression word(QStringLiteral("[A-Za-z]{2,}"));
        return withoutNames(strText).contains(word);
    }

    static QString plain(const QString &strText)
    {
        const QString text = Qt::mightBeRichText(strText)
            ? QTextDocumentFragment::fromHtml(strText).toPlainText()
            : strText;
        return QString(text).remove(QLatin1Char('&'));
    }

    void add(const QString &strWhere, const QString &strText)
    {
        const QString text = plain(strText).trimmed();
        if (!text.isEmpty() && stillEnglish(text))
            shown.append(strWhere + QStringLiteral(": ") + text);
    }

    void collectMenu(QMenu *pMenu, const QString &strWhere)
    {
        add(strWhere + QStringLiteral(" menu"), pMenu->title());
        for (QAction *action : pMenu->actions()) {
            add(strWhere + QStringLiteral(" entry"), action->text());
            if (action->menu())
                collectMenu(action->menu(), strWhere);
        }
    }

    void collectOwn(QWidget *w, const QString &strWhere)
    {
        const QString where
            = strWhere + QLatin1Char('/') + QLatin1String(w->metaObject()->className());
        if (w->isWindow())
            add(where + QStringLiteral(" title"), w->windowTitle());
        add(where + QStringLiteral(" tooltip"), w->toolTip());
        for (QAction *action : w->actions())
            add(where + QStringLiteral(" action"), action->text());
        if (auto *label = qobject_cast<QLabel *>(w))
            add(where, label->text());
        if (auto *button = qobject_cast<QAbstractButton *>(w))
            add(where, button->text());
        // Font families are names.
        if (auto *box = qobject_cast<QComboBox *>(w))
            for (int i = 0; i < box->count(); ++i)
                if (!QFontDatabase::families().contains(box->itemText(i)))
                    add(where + QStringLiteral(" item"), box->itemText(i));
        if (auto *edit = qobject_cast<QLineEdit *>(w)) {
            add(where + QStringLiteral(" placeholder"), edit->placeholderText());
            if (qobject_cast<QAbstractSpinBox *>(w->parentWidget()))
                add(where, edit->text());
        }
        if (auto *text = qobject_cast<QTextEdit *>(w))
            add(where, text->toPlainText());
        if (auto *menu = qobject_cast<QMenu *>(w))
            collectMenu(menu, where);
        if (auto *tabs = qobject_cast<TabWidget *>(w))
            for (int i = 0; i < tabs->tabCount(); ++i)
                add(where + QStringLiteral(" tab"), tabs->tabTitle(i));
        if (auto *panel = qobject_cast<DesktopToolPanel *>(w))
            add(where + QStringLiteral(" title"), panel->titleText());
        if (auto *popup = qobject_cast<PopupWidget *>(w))
            add(where + QStringLiteral(" title"), popup->title());
    }

    void collect(QWidget *pRoot, const QString &strWhere)
    {
        QVERIFY2(pRoot, qPrintable(strWhere));
        collectOwn(pRoot, strWhere);
        for (QWidget *child : pRoot->findChildren<QWidget *>())
            collectOwn(child, strWhere);
    }

    // Runs fnAction; every modal dialog it opens is collected, then cancelled.
    void collectModal(const QString &strWhere, const std::function<void()> &fnAction)
    {
        QTimer timer;
        int seen = 0;
        connect(&timer, &QTimer::timeout, this, [&] {
            if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget())) {
                collect(dialog, strWhere);
                ++seen;
                dialog->reject();
            }
        });
        timer.start(5);
        fnAction();
        QVERIFY2(seen > 0, qPrintable(strWhere + QStringLiteral(" showed nothing")));
    }

    void startIn(const QString &strCode)
    {
        env = std::make_unique<TestEnvironment>();
        QDir().mkpath(env->dataFolder());
        QVERIFY(
            writeFile(env->dataFolder() + QStringLiteral("/Setting.ini"),
                      "[UserInterface]\nLanguage=" + strCode.toLatin1() + "\nShowTrayIcon=0\n"));
        ToolKit::reset();
        window = std::make_unique<MainWindow>();
        QCOMPARE(AppState::instance().language, strCode);
        QtTranslations::apply(strCode);
    }

    void collectMainWindow()
    {
        for (QAction *action : window->menu()->actions())
            if (action->menu())
                collectMenu(action->menu(), QStringLiteral("menu bar"));
        collectMenu(window->trayContextMenu(), QStringLiteral("tray"));
        collect(window->toolbar(), QStringLiteral("toolbar"));
    }

    void collectPanels()
    {
        OptionPopups *popups = window->optionPopups();
        QWidget *anchor = window->toolbar()->optionButton();
        popups->openNewpage(anchor);
        collect(popups->popup(), QStringLiteral("new page panel"));
        popups->openOpPage(anchor);
        collect(popups->popup(), QStringLiteral("page panel"));
        popups->openSave(anchor);
        collect(popups->popup(), QStringLiteral("save panel"));
        popups->openTools(anchor);
        collect(popups->popup(), QStringLiteral("tools panel"));
        for (int tool : { ToolKit::Pen, ToolKit::Highlighter, ToolKit::Eraser, ToolKit::Line,
                          ToolKit::Shape, ToolKit::Text }) {
            ToolKit::instance().setCurrentTool(tool);
            popups->openDrawToolOptions(1, true, anchor);
            collect(popups->popup(), QStringLiteral("options popup %1").arg(tool));
            popups->openDrawToolOptions(1, false, anchor);
            collect(popups->floating(), QStringLiteral("floating options %1").arg(tool));
        }
        popups->hidePopup();
        popups->deleteFloating();
    }

    void collectDialogs()
    {
        PreferencesDlg preferences(window.get());
        collect(&preferences, QStringLiteral("preferences"));
        AboutDlg about(window.get());
        collect(&about, QStringLiteral("about"));
        TextInputDlg text(0, false, window.get());
        collect(&text, QStringLiteral("text input"));
        TextInputDlg number(1, false, window.get());
        collect(&number, QStringLiteral("number input"));
        ExportDlg exporter(window->documentCommands(), window->documentFiles(), window.get());
        collect(&exporter, QStringLiteral("export"));
        BrowserDlg browser(window->view());
        collect(&browser, QStringLiteral("browser"));
        // Nothing listens on port 9: the check fails at once.
        UpdateDlg update(nullptr, QUrl(QStringLiteral("http://127.0.0.1:9")));
        QTRY_VERIFY(!update.findChild<QTextEdit *>()->toPlainText().isEmpty());
        collect(&update, QStringLiteral("update"));
    }

    void collectDesktopTools()
    {
        QPixmap still(640, 480);
        still.fill(Qt::darkCyan);
        for (int mode : { CaptureDlg::Rectangle, CaptureDlg::Freeform }) {
            CaptureDlg capture(mode, &still, nullptr, QPainterPath());
            collect(&capture, QStringLiteral("capture"));
        }
        CaptureWin windowCapture(nullptr);
        collect(&windowCapture, QStringLiteral("window capture"));
        for (bool oneShot : { false, true }) {
            PickerDlg picker(&still, oneShot, nullptr);
            collect(&picker, QStringLiteral("picker"));
        }
        ZoomMemory zoomMemory;
        ZoomDlg zoom(&still, &zoomMemory, nullptr);
        collect(&zoom, QStringLiteral("magnifier"));
        RulerDlg ruler(false, true);
        collect(&ruler, QStringLiteral("ruler"));
        RulerPreferencesDlg rulerPreferences(&ruler);
        collect(&rulerPreferences, QStringLiteral("ruler preferences"));
        ProtractorDlg protractor(&still, nullptr);
        collect(&protractor, QStringLiteral("protractor"));
    }

    void collectMessageBoxes()
    {
        window->view()->newPage();
        window->view()->newPage();
        collectModal(QStringLiteral("close page"), [this] { window->slot_Close(); });
        collectModal(QStringLiteral("close all"), [this] { window->slot_CloseAll(); });
        window->view()->currentPage()->modified = true;
        collectModal(QStringLiteral("modified"), [this] { window->slot_Exit(); });
        collectModal(QStringLiteral("live desktop"), [this] { window->slot_LiveDesktop(); });
    }

private Q_SLOTS:
    void cleanup()
    {
        window.reset();
        env.reset();
        shown.clear();
        QtTranslations::apply(QStringLiteral("en_GB"));
    }

    void everyShownTextIsTranslated_data()
    {
        QTest::addColumn<QString>("code");
        QTest::newRow("zh_CN") << QStringLiteral("zh_CN");
        QTest::newRow("zh_TW") << QStringLiteral("zh_TW");
    }

    void everyShownTextIsTranslated()
    {
        QFETCH(QString, code);
        startIn(code);
        collectMainWindow();
        collectPanels();
        collectDialogs();
        collectDesktopTools();
        collectMessageBoxes();
        shown.removeDuplicates();
        QVERIFY2(shown.isEmpty(),
                 qPrintable(QStringLiteral("Still English (add the text to both tables, or to "
                                           "the names in withoutNames if it is one):\n")
                            + shown.join(QLatin1Char('\n'))));
    }

    // The filter guards the test: it must see English where there is English.
    void englishIsSeenAsEnglish()
    {
        startIn(QStringLiteral("en_GB"));
        collectMainWindow();
        QVERIFY(shown.contains(QStringLiteral("menu bar menu: File")));
        QVERIFY(shown.size() > 40);
        QVERIFY(!stillEnglish(QStringLiteral("Quillbury Tavelmark 1.2")));
        QVERIFY(!stillEnglish(QStringLiteral("x: 10, y: 20")));
        QVERIFY(stillEnglish(QStringLiteral("OK")));
    }

    void choosingALanguageReTextsAtOnce()
    {
        startIn(QStringLiteral("en_GB"));
        AppState::instance().showFloatingOptionWidget = true;
        ToolKit::instance().setCurrentTool(ToolKit::Line);
        window->optionPopups()->openDrawToolOptions(1, false, window->toolbar()->optionButton());
        window->desktopTools()->slot_CreateRuler(false);
        RulerDlg *ruler = nullptr;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *found = qobject_cast<RulerDlg *>(w))
                ruler = found;
        QVERIFY(ruler);
        PreferencesDlg preferences(window.get());
        auto *languages = preferences.findChild<QComboBox *>(QStringLiteral("languageBox"));
        QCOMPARE(languages->count(), 3);
        QCOMPARE(languages->itemText(languages->currentIndex()), QStringLiteral("English"));

        languages->setCurrentIndex(languages->findData(QStringLiteral("zh_TW")));
        QCOMPARE(AppState::instance().language, QStringLiteral("zh_TW"));
        QCOMPARE(window->menu()->actions().first()->text(), QStringLiteral("檔案"));
        QCOMPARE(window->menu()->actionOpen->text(), QStringLiteral("開啟舊檔..."));
        QCOMPARE(window->toolbar()->button(ToolWidget::Pen)->toolTip(), QStringLiteral("畫筆"));
        QCOMPARE(window->menu()->actionOpenFromTray->text(),
                 QStringLiteral("開啟 Quillbury Tavelmark"));
        QCOMPARE(window->optionPopups()->floating()->tabs()->tabTitle(1), QStringLiteral("筆觸"));
        QCOMPARE(preferences.windowTitle(), QStringLiteral("偏好設定"));
        QStringList rulerTips;
        for (QAbstractButton *button : ruler->findChildren<QAbstractButton *>())
            rulerTips << button->toolTip();
        QVERIFY2(rulerTips.contains(QStringLiteral("新增直尺")), qPrintable(rulerTips.join(',')));
        QCOMPARE(AboutDlg(window.get()).windowTitle(), QStringLiteral("關於"));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("取消"));

        languages->setCurrentIndex(languages->findData(QStringLiteral("en_GB")));
        QCOMPARE(window->menu()->actions().first()->text(), QStringLiteral("File"));
        QCOMPARE(window->toolbar()->button(ToolWidget::Pen)->toolTip(), QStringLiteral("Pen"));
        QCOMPARE(window->optionPopups()->floating()->tabs()->tabTitle(1), QStringLiteral("Stroke"));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
    }

    // The toolkit's file and colour dialogs and the text fields' context menu.
    void toolkitTextsFollowTheLanguage()
    {
        QVERIFY(QtTranslations::apply(QStringLiteral("zh_CN")));
        QFileDialog files;
        files.setOption(QFileDialog::DontUseNativeDialog);
        files.setAcceptMode(QFileDialog::AcceptSave);
        QStringList buttons;
        for (QAbstractButton *b : files.findChild<QDialogButtonBox *>()->buttons())
            buttons << b->text();
        QCOMPARE(buttons.size(), 2);
        for (const QString &text : buttons)
            QVERIFY2(!stillEnglish(plain(text)) && !text.isEmpty(), qPrintable(text));
        QColorDialog colours;
        colours.setOption(QColorDialog::DontUseNativeDialog);
        for (QAbstractButton *b : colours.findChild<QDialogButtonBox *>()->buttons())
            QVERIFY2(!stillEnglish(plain(b->text())), qPrintable(b->text()));
        QLineEdit edit;
        std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
        for (QAction *action : menu->actions())
            QVERIFY2(!stillEnglish(plain(action->text())), qPrintable(action->text()));

        // English needs no table.
        QVERIFY(!QtTranslations::apply(QStringLiteral("en_GB")));
    }
};

QTEST_MAIN(TestTranslations)
#include "test_translations.moc"
