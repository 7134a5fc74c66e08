#include "app/appstate.h"
#include "app/qttranslations.h"
#include "canvas/toolkit.h"
#include "desktoptools/capturedlg.h"
#include "desktoptools/capturewin.h"
#include "desktoptools/desktoptoolpanel.h"
#include "desktoptools/pickerdlg.h"
#include "desktoptools/rulerdlg.h"
#include "desktoptools/rulerpreferencesdlg.h"
#include "desktoptools/zoomdlg.h"
#include "desktoptools/zoommemory.h"
#include "dialogs/aboutdlg.h"
#include "dialogs/preferencesdlg.h"
#include "dialogs/textinputdlg.h"
#include "mainwindow/exportdlg.h"
#include "mainwindow/mainwindow.h"
#include "offscreenscreens.h"
#include "testenvironment.h"
#include "toolbar/optionpopups.h"
#include "toolbar/popupwidget.h"
#include "toolbar/toolwidget.h"
#include "toolbar/toolwidgetbtn_option.h"
#include "update/updatedlg.h"
#include "widgets/messageboxdialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QTextDocument>
#include <QTextEdit>
#include <QtTest>

#include <memory>

// Every dialog in each language at one and a half times the desktop's font
// size, on a 1280 x 800 screen: each text fits its widget, overlaps no
// sibling's text, and each dialog fits the screen.
class TestDialogFonts : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    std::unique_ptr<MainWindow> window;
    QFont defaultFont;

    static QString plain(const QString &strText)
    {
        if (!Qt::mightBeRichText(strText))
            return strText;
        QTextDocument document;
        document.setHtml(strText);
        return document.toPlainText();
    }

    // What a label needs for its text; word-wrapped ones may wrap.
    static QString labelProblem(QLabel *pLabel)
    {
        const QRect room = pLabel->contentsRect();
        if (pLabel->wordWrap()) {
            const int need = pLabel->heightForWidth(pLabel->width());
            return need > pLabel->height()
                ? QStringLiteral("needs %1 high, has %2").arg(need).arg(pLabel->height())
                : QString();
        }
        const QFontMetrics metrics(pLabel->font());
        for (const QString &line : plain(pLabel->text()).split(QLatin1Char('\n'))) {
            const int need = metrics.horizontalAdvance(line.trimmed());
            if (need > room.width())
                return QStringLiteral("needs %1 wide, has %2").arg(need).arg(room.width());
        }
        if (metrics.height() > room.height())
            return QStringLiteral("needs %1 high, has %2").arg(metrics.height()).arg(room.height());
        return QString();
    }

    static QString buttonProblem(QAbstractButton *pButton)
    {
        const QSize need = pButton->sizeHint();
        if (pButton->width() < need.width() || pButton->height() < need.height())
            return QStringLiteral("is %1x%2, needs %3x%4")
                .arg(pButton->width())
                .arg(pButton->height())
                .arg(need.width())
                .arg(need.height());
        return QString();
    }

    static QStringList cutTexts(QWidget *pRoot, const QString &strWhere)
    {
        pRoot->show();
        QCoreApplication::processEvents();
        QStringList problems;
        const double smallest = QApplication::font().pointSizeF() * 8 / 9 - 0.01;
        const QSize screen = QGuiApplication::primaryScreen()->size();
        if (auto *panel = qobject_cast<DesktopToolPanel *>(pRoot)) {
            // The title is painted beside the close button, in the strip.
            const int need = panel->stripHeight()
                + QFontMetrics(panel->font()).horizontalAdvance(panel->titleText());
            if (need > panel->width())
                problems << QStringLiteral("%1: title needs %2, has %3")
                                .arg(strWhere)
                                .arg(need)
                                .arg(panel->width());
        }
        if (pRoot->width() > screen.width() || pRoot->height() > screen.height())
            problems << QStringLiteral("%1 is %2x%3, larger than the screen")
                            .arg(strWhere)
                            .arg(pRoot->width())
                            .arg(pRoot->height());
        QList<QWidget *> texts;
        for (QWidget *w : pRoot->findChildren<QWidget *>()) {
            if (!w->isVisibleTo(pRoot))
                continue;
            QString problem, text;
            if (auto *label = qobject_cast<QLabel *>(w); label && !label->text().isEmpty()) {
                text = label->text();
                problem = labelProblem(label);
            } else if (auto *button = qobject_cast<QAbstractButton *>(w);
                       button && !button->text().isEmpty()) {
                text = button->text();
                problem = buttonProblem(button);
            }
            // Small print stays in step with the desktop's font.
            if (!text.isEmpty() && w->font().pointSizeF() < smallest)
                problem += QStringLiteral(" is %1 pt, below %2 pt")
                               .arg(w->font().pointSizeF())
                               .arg(smallest);
            if (!problem.isEmpty())
                problems << QStringLiteral("%1: \"%2\" %3").arg(strWhere, plain(text), problem);
            if (!text.isEmpty())
                texts.append(w);
        }
        for (int i = 0; i < texts.size(); ++i)
            for (int j = i + 1; j < texts.size(); ++j)
                if (texts[i]->parentWidget() == texts[j]->parentWidget()
                    && texts[i]->geometry().intersects(texts[j]->geometry()))
                    problems << QStringLiteral("%1: %2 overlaps %3")
                                    .arg(strWhere, texts[i]->metaObject()->className(),
                                         texts[j]->metaObject()->className());
        return problems;
    }

    void start()
    {
        QFETCH(QString, code);
        QVERIFY(writeFile(env->dataFolder() + QStringLiteral("/Setting.ini"),
                          "[UserInterface]\nLanguage=" + code.toLatin1() + "\nShowTrayIcon=0\n"));
        window = std::make_unique<MainWindow>();
        QtTranslations::apply(code);
    }

    static void languages()
    {
        QTest::addColumn<QString>("code");
        for (const char *code : { "en_GB", "zh_CN", "zh_TW" })
            QTest::newRow(code) << QString::fromLatin1(code);
    }

private Q_SLOTS:
    void initTestCase() { defaultFont = QApplication::font(); }

    void init()
    {
        env = std::make_unique<TestEnvironment>();
        QDir().mkpath(env->dataFolder());
        QFont large = defaultFont;
        large.setPointSizeF(defaultFont.pointSizeF() * 1.5);
        QApplication::setFont(large);
        ToolKit::reset();
    }

    void cleanup()
    {
        window.reset();
        env.reset();
        QApplication::setFont(defaultFont);
        QtTranslations::apply(QStringLiteral("en_GB"));
    }

    void dialogsFitLargerText_data() { languages(); }
    void dialogsFitLargerText()
    {
        start();
        QStringList problems;
        PreferencesDlg preferences(window.get());
        problems << cutTexts(&preferences, QStringLiteral("preferences"));
        AboutDlg about(window.get());
        problems << cutTexts(&about, QStringLiteral("about"));
        TextInputDlg text(0, false, window.get());
        problems << cutTexts(&text, QStringLiteral("text"));
        TextInputDlg number(1, false, window.get());
        problems << cutTexts(&number, QStringLiteral("number"));
        ExportDlg exporter(window->documentCommands(), window->documentFiles(), window.get());
        problems << cutTexts(&exporter, QStringLiteral("export"));
        MessageBoxDialog box(window.get(), QStringLiteral("The document has been modified."),
                             QStringLiteral("Do you want to save your changes?"),
                             QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
        problems << cutTexts(&box, QStringLiteral("message box"));
        // A short question still shows its whole title beside the title
        // bar's icon and buttons.
        MessageBoxDialog question(window.get(), QStringLiteral("Close current page from document."),
                                  QStringLiteral("Do you want to close current page?"),
                                  QMessageBox::Ok | QMessageBox::Cancel);
        question.show();
        if (question.width() < question.titleWidth())
            problems << QStringLiteral("question \"%1\" is %2 wide, its title needs %3")
                            .arg(question.text())
                            .arg(question.width())
                            .arg(question.titleWidth());
        // Nothing listens on port 9: the check fails at once.
        UpdateDlg update(nullptr, QUrl(QStringLiteral("http://127.0.0.1:9")));
        QTRY_VERIFY(!update.findChild<QTextEdit *>()->toPlainText().isEmpty());
        problems << cutTexts(&update, QStringLiteral("update"));
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
    }

    void toolbarPanelsFitLargerText_data() { languages(); }
    void toolbarPanelsFitLargerText()
    {
        start();
        QStringList problems;
        OptionPopups *popups = window->optionPopups();
        QWidget *anchor = window->toolbar()->optionButton();
        popups->openNewpage(anchor);
        problems << cutTexts(popups->popup(), QStringLiteral("new page"));
        popups->openOpPage(anchor);
        problems << cutTexts(popups->popup(), QStringLiteral("page"));
        popups->openSave(anchor);
        problems << cutTexts(popups->popup(), QStringLiteral("save"));
        popups->openTools(anchor);
        problems << cutTexts(popups->popup(), QStringLiteral("tools"));
        for (int tool : { ToolKit::Pen, ToolKit::Line, ToolKit::Shape, ToolKit::Text }) {
            ToolKit::instance().setCurrentTool(tool);
            popups->openDrawToolOptions(1, true, anchor);
            problems << cutTexts(popups->popup(), QStringLiteral("options %1").arg(tool));
        }
        popups->hidePopup();
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
    }

    void desktopToolPanelsFitLargerText_data() { languages(); }
    void desktopToolPanelsFitLargerText()
    {
        start();
        QStringList problems;
        QPixmap still(1280, 800);
        still.fill(Qt::darkCyan);
        RulerDlg ruler(false, true);
        RulerPreferencesDlg rulerPreferences(&ruler);
        problems << cutTexts(&rulerPreferences, QStringLiteral("ruler preferences"));
        for (int mode : { CaptureDlg::Rectangle, CaptureDlg::Freeform }) {
            CaptureDlg capture(mode, &still, nullptr, QPainterPath());
            for (DesktopToolPanel *panel : capture.findChildren<DesktopToolPanel *>())
                problems << cutTexts(panel, QStringLiteral("capture options"));
        }
        CaptureWin windowCapture(nullptr);
        problems << cutTexts(&windowCapture, QStringLiteral("window capture"));
        for (bool oneShot : { false, true }) {
            PickerDlg picker(&still, oneShot, nullptr);
            for (DesktopToolPanel *panel : picker.findChildren<DesktopToolPanel *>())
                problems << cutTexts(panel, QStringLiteral("picker"));
        }
        ZoomMemory zoomMemory;
        ZoomDlg zoom(&still, &zoomMemory, nullptr);
        for (DesktopToolPanel *panel : zoom.findChildren<DesktopToolPanel *>())
            problems << cutTexts(panel, QStringLiteral("magnifier"));
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
    }
};

int main(int argc, char *argv[])
{
    return execOnScreens<TestDialogFonts>(argc, argv, R"({ "screens": [
        { "name": "only", "x": 0, "y": 0, "width": 1280, "height": 800, "logicalDpi": 96 } ] })");
}

#include "test_dialogfonts.moc"
