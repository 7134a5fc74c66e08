#include "shooter.h"

#include "canvas/mainview.h"
#include "canvas/presenterkit.h"
#include "mainwindow/mainwindow.h"
#include "toolbar/optionpopups.h"
#include "toolbar/popupwidget.h"
#include "toolbar/toolwidget.h"
#include "update/detailanim.h"
#include "update/updatedlg.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QMouseEvent>
#include <QScreen>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QtTest>

namespace {

constexpr int WaitMs = 10000;

bool waitFor(const std::function<bool()> &done, int ms = WaitMs)
{
    QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    }
    return true;
}

// Lets pending paints reach the screen before it is grabbed.
void settle()
{
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    QApplication::sync();
}

QScreen *screen()
{
    return QGuiApplication::primaryScreen();
}

// Where the toolbar is. Right after mapping, the window manager reports it at
// the corner of the screen until its own notice follows; the toolbar's
// pictures wait for that notice.
QRect toolbarArea(ToolWidget *pBar)
{
    waitFor([pBar] { return pBar->geometry().topLeft() == pBar->placedPosition(); });
    return QRect(pBar->placedPosition(), pBar->size());
}

// A move without a button, delivered at once: QTest moves the X pointer for
// those, whose events arrive whenever the server sends them.
void hover(QWidget *pWidget, const QPoint &pos)
{
    QMouseEvent move(QEvent::MouseMove, pos, pWidget->mapToGlobal(pos), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(pWidget, &move);
}

} // namespace

Shooter::Shooter(MainWindow &mainWindow, const QString &strFolder)
    : window(mainWindow)
    , folder(strFolder)
{
}

bool Shooter::run()
{
    return toolbarOverDesktop() && menu() && drawing() && presenting() && panels() && dialogs()
        && update();
}

bool Shooter::saveScreen(const QString &strName, const QRect &area)
{
    settle();
    const QRect r = area.intersected(screen()->geometry());
    const QPixmap shot = screen()->grabWindow(0, r.x(), r.y(), r.width(), r.height());
    if (shot.isNull() || !shot.save(folder + QLatin1Char('/') + strName, "PNG")) {
        qWarning("guideshots: %s could not be saved", qPrintable(strName));
        return false;
    }
    return true;
}

bool Shooter::saveWidget(const QString &strName, QWidget *pWidget)
{
    if (!pWidget || !waitFor([pWidget] { return pWidget->isVisible(); })
        || !QTest::qWaitForWindowExposed(pWidget->window())) {
        qWarning("guideshots: %s did not show", qPrintable(strName));
        return false;
    }
    settle();
    // Drawn by the widget itself: a picture of the screen would catch a dialog
    // that has grown before the window manager gave its window the new size.
    const QPixmap shot = pWidget->grab();
    if (shot.isNull() || !shot.save(folder + QLatin1Char('/') + strName, "PNG")) {
        qWarning("guideshots: %s could not be saved", qPrintable(strName));
        return false;
    }
    return true;
}

bool Shooter::saveModal(const QString &strName, const std::function<void()> &open)
{
    bool saved = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        poll.stop();
        saved = saveWidget(strName, dialog);
        dialog->reject();
    });
    poll.start(200);
    open();
    return saved;
}

bool Shooter::toolbarOverDesktop()
{
    ToolWidget *bar = window.toolbar();
    if (!waitFor([bar] { return bar->isVisible(); }) || !QTest::qWaitForWindowExposed(bar))
        return false;
    const QRect around = toolbarArea(bar).adjusted(-12, -12, 12, 12);
    return saveScreen(QStringLiteral("toolbar.png"), around);
}

bool Shooter::menu()
{
    bool saved = false;
    ToolWidget *bar = window.toolbar();
    QTimer::singleShot(300, [&] {
        QWidget *popup = QApplication::activePopupWidget();
        if (!popup)
            return;
        // Open the File menu, the first one, which holds the document commands.
        QTest::keyClick(popup, Qt::Key_Down);
        QTest::keyClick(popup, Qt::Key_Right);
        QTimer::singleShot(400, [&, popup] {
            QRect area = toolbarArea(bar).united(popup->geometry());
            if (QWidget *sub = QApplication::activePopupWidget())
                area = area.united(sub->geometry());
            saved = saveScreen(QStringLiteral("menu.png"), area.adjusted(-10, -10, 10, 10));
            while (QWidget *open = QApplication::activePopupWidget())
                open->close();
        });
    });
    QMetaObject::invokeMethod(bar, "slot_Menu");
    return saved;
}

void Shooter::draw(const QList<QPoint> &points)
{
    QWidget *view = window.view();
    QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, points.first());
    for (const QPoint &p : points)
        QTest::mouseMove(view, p);
    QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, points.last());
}

bool Shooter::drawing()
{
    window.slot_Pen(1);
    if (!waitFor([this] { return window.modes()->isDrawMode(); })
        || !QTest::qWaitForWindowExposed(&window))
        return false;
    settle();
    const QSize s = window.view()->size();
    const auto at
        = [s](qreal x, qreal y) { return QPoint(int(s.width() * x), int(s.height() * y)); };
    // A ring round the sun.
    QList<QPoint> ring;
    for (int i = 0; i <= 40; ++i) {
        const qreal a = i * 2 * M_PI / 36;
        ring.append(at(0.6354 + 0.085 * std::cos(a), 0.352 + 0.13 * std::sin(a)));
    }
    draw(ring);
    window.slot_Highlighter(1);
    draw({ at(0.055, 0.355), at(0.2, 0.355), at(0.33, 0.355), at(0.45, 0.355) });
    window.slot_Line(1);
    draw({ at(0.65, 0.5), at(0.75, 0.42), at(0.8, 0.36) });
    window.slot_Shape(1);
    draw({ at(0.055, 0.465), at(0.3, 0.5), at(0.44, 0.545) });
    window.slot_Pen(1);
    return saveScreen(QStringLiteral("drawing.png"), screen()->geometry());
}

// The presenter tools at moments chosen on the presenter kit's own clock, so
// that the fading ink and the laser's tail look the same in every picture.
bool Shooter::presenting()
{
    PresenterAnimator &animator = PresenterKit::instance().animator();
    qint64 now = 0;
    animator.setClock([&now] { return now; });
    const QSize s = window.view()->size();
    const auto at
        = [s](qreal x, qreal y) { return QPoint(int(s.width() * x), int(s.height() * y)); };
    const auto frameAt = [&](qint64 t) {
        now = t;
        animator.tick();
    };

    // Two strokes in fading ink, the older one half gone: the ink lasts three
    // seconds at first and fades during its last one.
    window.slot_FadingInk();
    frameAt(10000);
    draw({ at(0.06, 0.3), at(0.2, 0.305), at(0.35, 0.298), at(0.46, 0.302) });
    frameAt(12300);
    draw({ at(0.06, 0.452), at(0.2, 0.456), at(0.3, 0.449), at(0.4, 0.453) });
    frameAt(12500);
    bool saved
        = saveScreen(QStringLiteral("fading-ink.png"), QRect(at(0.055, 0.22), at(0.5, 0.458)));
    window.slot_FadingInk();

    // The laser's dot comes from the cloud to the sun, its tail fading behind.
    window.slot_LaserPointer();
    QWidget *view = window.view();
    for (int i = 0; i <= 12; ++i) {
        frameAt(20000 + 25 * i);
        hover(view, at(0.82 - 0.016 * i, 0.36 - 0.002 * i));
    }
    frameAt(20000 + 25 * 12 + 80);
    saved = saveScreen(QStringLiteral("laser-pointer.png"), QRect(at(0.55, 0.2), at(0.95, 0.5)))
        && saved;

    window.slot_Spotlight();
    hover(view, at(0.64, 0.36));
    frameAt(30000);
    saved = saveScreen(QStringLiteral("spotlight.png"), screen()->geometry()) && saved;
    window.slot_Pen(1);
    animator.setClock(nullptr);
    return saved;
}

bool Shooter::panels()
{
    OptionPopups *popups = window.optionPopups();
    const auto savePopup = [&](const QString &strName) {
        const bool shown
            = waitFor([popups] { return popups->popup() && popups->popup()->isVisible(); });
        const bool saved = shown && saveWidget(strName, popups->popup());
        if (popups->popup())
            popups->popup()->close();
        waitFor([popups] { return !popups->popup() || !popups->popup()->isVisible(); });
        return saved;
    };
    window.slot_PopupOptionWidget(3);
    bool saved = savePopup(QStringLiteral("pen-options.png"));
    window.slot_PopupOpPageWidget(3);
    saved = savePopup(QStringLiteral("page-operations.png")) && saved;
    window.slot_PopupSaveWidget(3);
    saved = savePopup(QStringLiteral("save-options.png")) && saved;
    window.slot_PopupToolsWidget(3);
    return savePopup(QStringLiteral("more-tools.png")) && saved;
}

bool Shooter::dialogs()
{
    window.slot_New();
    const bool browser
        = saveModal(QStringLiteral("browser.png"), [this] { window.slot_Browser(); });
    const bool text
        = saveModal(QStringLiteral("text-input.png"), [this] { window.slot_InsertText(); });
    window.slot_Mouse();
    waitFor([this] { return !window.modes()->isDrawMode(); });
    const bool preferences
        = saveModal(QStringLiteral("preferences.png"), [this] { window.slot_Preferences(); });
    return browser && text && preferences;
}

// The check against a local server describing a newer release.
bool Shooter::update()
{
    const QByteArray xml = "<mainDoc version=\"1.3.0\" filename=\"tavelmark_1.3.0_amd64.deb\">"
                           "<title>Tavelmark 1.3.0</title>"
                           "<item>Pages can be reordered with the keyboard</item>"
                           "<item>The magnifier follows the pointer more smoothly</item>"
                           "<date>2027-01-15</date></mainDoc>";
    QTcpServer server;
    server.listen(QHostAddress::LocalHost);
    QObject::connect(&server, &QTcpServer::newConnection, [&server, xml] {
        QTcpSocket *socket = server.nextPendingConnection();
        QObject::connect(socket, &QTcpSocket::readyRead, [socket, xml] {
            socket->readAll();
            socket->write("HTTP/1.1 200 OK\r\nConnection: close\r\nContent-Length: "
                          + QByteArray::number(xml.size()) + "\r\n\r\n" + xml);
            socket->disconnectFromHost();
        });
    });
    UpdateDlg dlg(nullptr,
                  QUrl(QStringLiteral("http://127.0.0.1:%1/tavelmark").arg(server.serverPort())));
    dlg.show();
    auto *arrow = dlg.findChild<DetailAnim *>();
    if (!waitFor([arrow] { return arrow->state() != DetailAnim::Loading; }))
        return false;
    QTest::mouseClick(arrow, Qt::LeftButton);
    auto *notes = dlg.findChild<QWidget *>(QStringLiteral("notes"));
    if (!waitFor([notes] { return notes->isVisible(); }))
        return false;
    return saveWidget(QStringLiteral("update.png"), &dlg);
}
