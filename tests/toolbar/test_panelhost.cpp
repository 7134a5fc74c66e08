#include "canvas/toolkit.h"
#include "testenvironment.h"
#include "toolbar/palettebuttons.h"
#include "toolbar/panelhost.h"
#include "toolbar/popupnewpagewidget.h"
#include "toolbar/popupoppagewidget.h"
#include "toolbar/popupoptionwidget.h"
#include "toolbar/popuptoolswidget.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QtTest>

#include <memory>

namespace {

// Notes what the panels ask for, in order.
class RecordingHost : public PanelHost
{
public:
    QStringList calls;
    bool previousArea = false;

    QWidget *dialogParent() override { return nullptr; }
    QString toolTitle(int iTool) override { return QStringLiteral("Tool %1").arg(iTool); }
    bool hasPreviousArea() override { return previousArea; }
    void selectTools(int iTools) override { note("tools", iTools); }
    void selectOpPage(int iOpPage) override { note("page", iOpPage); }
    void selectSave(int iSave) override { note("save", iSave); }
    void run(Command command) override { note("run", command); }
    void changeDrawToolWidth(int iWidth) override { note("width", iWidth); }
    void changeDrawToolColor(const QColor &colour) override { calls << colour.name(); }
    void changeNewpageColor(const QColor &colour) override { calls << "page " + colour.name(); }
    void showDial(int iValue, int, int) override { note("dial", iValue); }

private:
    void note(const char *what, int value)
    {
        calls << QStringLiteral("%1 %2").arg(what).arg(value);
    }
};

} // namespace

// The toolbar's panels work on their own: they ask whatever host is
// installed, and with none they do nothing.
class TestPanelHost : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    QWidget anchor;

    static void click(QButtonGroup *group, int id)
    {
        QAbstractButton *button = group->button(id);
        QVERIFY(button);
        button->click();
    }

private Q_SLOTS:
    void init()
    {
        env = std::make_unique<TestEnvironment>();
        ToolKit::reset();
    }

    void cleanup() { env.reset(); }

    void commandPanelsAskTheHost()
    {
        RecordingHost host;
        PanelHost::install(&host);
        auto *tools = new PopupToolsWidget(&anchor, nullptr);
        QVERIFY(!tools->entries()->button(3)->isEnabled());
        click(tools->entries(), 6);
        host.previousArea = true;
        tools = new PopupToolsWidget(&anchor, nullptr);
        QVERIFY(tools->entries()->button(3)->isEnabled());
        tools->deleteLater();

        auto *opPage = new PopupOpPageWidget(&anchor, nullptr);
        click(opPage->entries(), 2);
        auto *newpage = new PopupNewpageWidget(&anchor, nullptr);
        click(newpage->entries(), PopupNewpageWidget::Duplicate);
        newpage = new PopupNewpageWidget(&anchor, nullptr);
        click(newpage->entries(), PopupNewpageWidget::Picker);
        QCOMPARE(host.calls, QStringList({ "tools 6", "page 2", "run 1", "tools 43" }));
    }

    void optionPanelTakesItsTitleFromTheHost()
    {
        RecordingHost host;
        PanelHost::install(&host);
        ToolKit::instance().setCurrentTool(ToolKit::Line);
        PopupOptionWidget panel(true, &anchor, nullptr);
        QCOMPARE(panel.windowTitle(), QStringLiteral("Tool %1").arg(int(ToolKit::Line)));
    }

    void withoutAHostNothingHappens()
    {
        {
            RecordingHost gone;
            PanelHost::install(&gone);
        }
        QCOMPARE(PanelHost::current(), nullptr);
        auto *opPage = new PopupOpPageWidget(&anchor, nullptr);
        click(opPage->entries(), 0);
        auto *tools = new PopupToolsWidget(&anchor, nullptr);
        click(tools->entries(), 7);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

QTEST_MAIN(TestPanelHost)
#include "test_panelhost.moc"
