#include "desktoptoolrunner.h"

#include "app/appstate.h"
#include "app/lang.h"
#include "canvas/mainview.h"
#include "canvas/shapetool.h"
#include "canvas/toolkit.h"
#include "desktoptools/capturearea.h"
#include "desktoptools/capturedlg.h"
#include "desktoptools/capturewin.h"
#include "desktoptools/pickerdlg.h"
#include "desktoptools/protractordlg.h"
#include "desktoptools/rulerdlg.h"
#include "desktoptools/zoomdlg.h"
#include "desktopwait.h"
#include "documentcommands.h"
#include "mainwindow.h"
#include "menubar.h"
#include "platform/desktoppicture.h"
#include "platform/nativecoordinates.h"
#include "platform/platform.h"
#include "toolbar/toolwidget.h"
#include "widgets/fullscreendialog.h"
#include "widgets/messageboxdialog.h"
#include "windowhelpers.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

#include <utility>

DesktopToolRunner::DesktopToolRunner(MainWindow *pWindow)
    : QObject(pWindow)
    , window(pWindow)
{
}

DesktopToolRunner::~DesktopToolRunner()
{
    closeRulers();
}

// While a tool runs the value stays that of the running one: a picker's
// colour must still reach what it was started for.
void DesktopToolRunner::selectTools(int iTools)
{
    // Before the first capture there is no previous area to show.
    if (window->isBusy() || (iTools == 3 && previousCaptureArea.isEmpty()))
        return;
    desktopTool = iTools;
    switch (iTools) {
    case 0:
    case 1:
    case 3:
        startDelayed(&DesktopToolRunner::slot_PrepareCaptureDlg);
        break;
    case 2:
        if (Platform::instance().canPickWindows()) {
            startWindowCapture();
            break;
        }
        offerRegionInstead();
        break;
    case 4:
        startDelayed(&DesktopToolRunner::slot_PreparePickerDlg);
        break;
    case 5:
        startDelayed(&DesktopToolRunner::slot_PrepareZoomDlg);
        break;
    case 6:
        startRuler();
        break;
    case 7:
        startDelayed(&DesktopToolRunner::slot_PrepareProtractorDlg);
        break;
    case 41:
    case 42:
    case 43:
        startDelayed(&DesktopToolRunner::slot_PreparePickerDlg_PickerAndClose, false);
        break;
    default:
        break;
    }
}

template<typename Slot>
void DesktopToolRunner::startDelayed(Slot slot, bool bHideToolbar)
{
    window->setBusy(true);
    if (bHideToolbar)
        window->toolbar()->hide();
    QTimer::singleShot(AppState::instance().captureDelay, this,
                       [this, slot] { grabWhenReady(slot); });
}

// Given up while the desktop took its time, the tool ends as a cancel does.
template<typename Slot>
void DesktopToolRunner::grabWhenReady(Slot slot)
{
    window->desktopWait()->whenReady([this, slot] { (this->*slot)(); }, [this] { finish(); });
}

void DesktopToolRunner::finish()
{
    if (pageSteppedAside) {
        pageSteppedAside = false;
        window->SetDrawMode(true);
    }
    if (!window->isHiddenToTray())
        window->toolbar()->show();
    window->setBusy(false);
}

void DesktopToolRunner::rememberArea(const QPainterPath &area)
{
    previousCaptureArea = area;
    window->menu()->previousAreaAction()->setEnabled(true);
}

void DesktopToolRunner::colorPickerHotKey()
{
    if (!window->modes()->isDrawMode()) {
        window->menu()->actionDesktopTools[4]->trigger();
        return;
    }
    switch (ToolKit::instance().currentToolId()) {
    case ToolKit::Pen:
    case ToolKit::Highlighter:
    case ToolKit::Line:
    case ToolKit::Shape:
    case ToolKit::Text:
        selectTools(41);
        break;
    default:
        break;
    }
}

void DesktopToolRunner::applyPickedColour(QRgb colour)
{
    if (desktopTool == 41)
        window->slot_ChangeDrawToolColor(QColor(colour));
    else if (desktopTool == 42)
        ToolKit::instance().shapeTool()->shapeTemplate.fill = QColor(colour);
    else if (desktopTool == 43)
        window->slot_ChangeNewpageColor(QColor(colour));
}

void DesktopToolRunner::deliver(int iCode, const QPixmap &picture)
{
    if (picture.isNull())
        return;
    if (iCode == 2) {
        const bool fromDesktop = !window->modes()->isDrawMode();
        if (fromDesktop)
            window->RestoreDrawTool();
        const QSize size = window->view()->newPage();
        window->documentCommands()->InsertPixmap(picture, size, true);
        if (fromDesktop)
            window->SetDrawMode(true);
    } else if (iCode == 3) {
        const QImage image = picture.toImage();
        window->modes()->whenOnDesktop(
            [this, image] { window->documentCommands()->SaveImageAs(image); });
    } else if (iCode == 4) {
        auto *data = new QMimeData;
        data->setImageData(picture.toImage());
        QApplication::clipboard()->clear();
        QApplication::clipboard()->setMimeData(data);
    }
}

// Where other programs' windows cannot be found, a region is the nearest
// thing: said in one line, then the region capture starts.
void DesktopToolRunner::offerRegionInstead()
{
    {
        MessageBoxDialog box(window,
                             Lang::tr("MessageBox",
                                      QStringLiteral("Windows of other programs cannot be found "
                                                     "on this desktop: capture a region instead.")),
                             QString(), QMessageBox::Ok);
        box.exec();
    }
    desktopTool = 0;
    startDelayed(&DesktopToolRunner::slot_PrepareCaptureDlg);
}

// The panel runs at once; the picked window is grabbed from the live desktop
// once the toolbar is out of the way.
void DesktopToolRunner::startWindowCapture()
{
    window->setBusy(true);
    // Over a page, the windows to pick lie beneath it: the page steps aside
    // until the grab is done, as the toolbar does on the desktop.
    if (window->modes()->isDrawMode()) {
        pageSteppedAside = true;
        window->hide();
    }
    CaptureWin picker(window);
    picker.excludeWindow(window->toolbar());
    const int code = picker.exec();
    if (code == 0) {
        finish();
        return;
    }
    pickedWindow = picker.pickedRect();
    QPainterPath area;
    area.addRect(FullScreenDialog::desktopCoverRect(pickedWindow));
    previousCaptureArea = area;
    desktopTool = code;
    window->toolbar()->hide();
    QTimer::singleShot(AppState::instance().captureDelay, this,
                       [this] { grabWhenReady(&DesktopToolRunner::slot_PrepareCaptureWin); });
}

// From the desktop rulers stay open as windows of their own until the last
// one closes; over a page one ruler runs modally.
void DesktopToolRunner::startRuler()
{
    window->setBusy(true);
    window->toolbar()->hide();
    const bool vertical = AppState::instance().ruler.vertical;
    if (!window->modes()->isDrawMode()) {
        slot_CreateRuler(vertical);
        return;
    }
    {
        RulerDlg ruler(vertical, false, window);
        ruler.exec();
    }
    finish();
}

// The region capture covers every screen, at the ratio of the screen its
// window belongs to.
QPixmap DesktopToolRunner::desktopStill() const
{
    QPixmap still = DesktopPicture::grab(NativeCoordinates::desktopRect());
    if (!still.isNull())
        still.setDevicePixelRatio(FullScreenDialog::desktopHost()->devicePixelRatio());
    return still;
}

void DesktopToolRunner::slot_PrepareCaptureDlg()
{
    QPixmap still = desktopStill();
    if (still.isNull())
        return finish();
    int code = 0;
    QPainterPath area;
    {
        CaptureDlg capture(desktopTool, &still, window, previousCaptureArea);
        code = capture.exec();
        area = capture.areaPath();
    }
    finish();
    if (code == 0)
        return;
    const QPixmap cut = CaptureArea::cut(area, still);
    if (cut.isNull())
        return;
    deliver(code, cut);
    rememberArea(area);
}

void DesktopToolRunner::slot_PrepareCaptureWin()
{
    const QPixmap picture = DesktopPicture::grab(pickedWindow);
    finish();
    if (picture.isNull())
        return;
    deliver(desktopTool, picture);
    rememberArea(previousCaptureArea);
}

void DesktopToolRunner::slot_PreparePickerDlg()
{
    QPixmap still = Platform::instance().grabScreen(window->currentScreen());
    if (still.isNull())
        return finish();
    {
        PickerDlg picker(&still, false, window);
        picker.exec();
    }
    finish();
}

// The toolbar stayed up; the picked colour goes where the tool value says.
// Busy is cleared first: a new-page colour creates its page at once.
void DesktopToolRunner::slot_PreparePickerDlg_PickerAndClose()
{
    QPixmap still = Platform::instance().grabScreen(window->currentScreen());
    if (still.isNull()) {
        window->setBusy(false);
        return;
    }
    PickerDlg picker(&still, true, window);
    const bool picked = picker.exec() == 1;
    window->setBusy(false);
    if (picked)
        applyPickedColour(picker.pickedColor().rgb());
}

void DesktopToolRunner::slot_PrepareZoomDlg()
{
    QPixmap still = Platform::instance().grabScreen(window->currentScreen());
    if (still.isNull())
        return finish();
    int code = 0;
    QPixmap picture;
    {
        ZoomDlg zoom(&still, &zoomMemory, window);
        code = zoom.exec();
        picture = zoom.outputPicture();
    }
    finish();
    if (code != 0)
        deliver(code, picture);
}

void DesktopToolRunner::slot_PrepareProtractorDlg()
{
    QPixmap still = Platform::instance().grabScreen(window->currentScreen());
    if (still.isNull())
        return finish();
    {
        ProtractorDlg protractor(&still, window);
        protractor.exec();
    }
    finish();
}

void DesktopToolRunner::slot_CreateRuler(bool bVertical)
{
    auto *ruler = new RulerDlg(bVertical, true, nullptr);
    connect(ruler, &RulerDlg::signal_DeleteRuler, this, &DesktopToolRunner::slot_DeleteRuler);
    connect(ruler, &RulerDlg::signal_CreateRuler, this, &DesktopToolRunner::slot_CreateRuler);
    connect(window, &MainWindow::signal_UpdateLang, ruler, &RulerDlg::slot_UpdateLang);
    MakeToolWindow(ruler, false);
    rulers.append(ruler);
    ruler->show();
}

void DesktopToolRunner::closeRulers()
{
    qDeleteAll(std::exchange(rulers, {}));
}

void DesktopToolRunner::slot_DeleteRuler(QWidget *pRuler)
{
    rulers.removeOne(pRuler);
    pRuler->deleteLater();
    if (rulers.isEmpty())
        finish();
}
