#include "capturewin.h"

#include "app/appstate.h"
#include "app/lang.h"
#include "app/resourcepixmap.h"
#include "app/settledannouncement.h"
#include "capturepanel.h"
#include "platform/nativecoordinates.h"
#include "platform/platform.h"
#include "widgets/closebtn.h"
#include "widgets/focuslabel.h"
#include "widgets/popupwidgetbtn.h"
#include "widgets/smalllabel.h"

#include <QApplication>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>

CaptureWin::CaptureWin(QWidget *pParent)
    : QDialog(pParent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , title(Lang::tr("MainWindow", QStringLiteral("Screen Capture (Window)")))
    , camera(new FocusLabel(this))
    , infoLabel(new SmallLabel(QString(), this))
    , outputs(CapturePanel::makeOutputButtons(this))
{
    const int side = CapturePanel::px(this, 40);
    cameraPicture = ResourcePixmap::load(QStringLiteral(":/Tools/CaptureWin"))
                        .scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    setWindowTitle(title);
    const AppState &state = AppState::instance();
    setFont(SmallLabel::smallFont(state.enableTouchUI ? 8.0 * 192 / logicalDpiX() : 8.0));

    connect(CapturePanel::makeCloseButton(this), &QToolButton::clicked, this, &QDialog::reject);
    connect(outputs[0], &QToolButton::clicked, this, &CaptureWin::slot_Captopage);
    connect(outputs[1], &QToolButton::clicked, this, &CaptureWin::slot_Captofile);
    connect(outputs[2], &QToolButton::clicked, this, &CaptureWin::slot_Captoclip);
    camera->setFixedSize(side, side);
    camera->setAlignment(Qt::AlignCenter);
    camera->setPixmap(cameraPicture);
    // The keyboard's way to pick starts here.
    camera->setFocusPolicy(Qt::StrongFocus);
    camera->setFocus();
    camera->setAccessibleName(spokenPick());
    announcement = new SettledAnnouncement(
        camera, [this] { return spokenPick(); }, 400);
    infoLabel->setMinimumWidth(CapturePanel::px(this, 120));
    showHint();
    enableOutputs(false);
    buildLayout();
    Lang::release();
}

// Closed in the middle of a pick: the frame and the camera cursor go too.
CaptureWin::~CaptureWin()
{
    unframe();
    if (picking)
        QApplication::restoreOverrideCursor();
}

void CaptureWin::buildLayout()
{
    auto *grid = new QGridLayout(this);
    const int margin = CapturePanel::px(this, 4);
    const int spacing = CapturePanel::px(this, 2);
    grid->setContentsMargins(margin, CapturePanel::px(this, 24), margin, margin);
    grid->setSpacing(spacing);
    grid->addWidget(camera, 0, 0, Qt::AlignHCenter);
    grid->addWidget(infoLabel, 1, 0, Qt::AlignTop);
    auto *column = new QVBoxLayout;
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(spacing);
    column->addStretch();
    for (PopupWidgetBtn *button : outputs)
        column->addWidget(button);
    column->addStretch();
    grid->addLayout(column, 0, 1, 2, 1);
    // Wide enough for the whole title, which the layout does not know about.
    const int titleWidth
        = CapturePanel::titleHeight(this) + fontMetrics().horizontalAdvance(title) + margin;
    setFixedSize(qMax(sizeHint().width(), titleWidth), sizeHint().height());
}

void CaptureWin::excludeWindow(QWidget *pWidget)
{
    excluded.append(pWidget);
}

QList<WId> CaptureWin::excludedWindows() const
{
    QList<WId> ids = { winId() };
    for (const QPointer<QWidget> &widget : excluded) {
        if (widget)
            ids.append(widget->window()->winId());
    }
    return ids;
}

void CaptureWin::done(int iResult)
{
    unframe();
    QDialog::done(iResult);
}

void CaptureWin::slot_Captopage()
{
    done(2);
}

void CaptureWin::slot_Captofile()
{
    done(3);
}

void CaptureWin::slot_Captoclip()
{
    done(4);
}

void CaptureWin::showHint()
{
    infoLabel->setText(
        Lang::tr("Tools", QStringLiteral("Drag camera icon%1 to start capture")).arg(QChar('\n')));
    Lang::release();
}

void CaptureWin::enableOutputs(bool bEnabled)
{
    for (PopupWidgetBtn *button : outputs)
        button->setEnabled(bEnabled);
}

void CaptureWin::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    CapturePanel::paintBackground(painter, this);
    CapturePanel::paintTitle(painter, this, title);
}

void CaptureWin::mousePressEvent(QMouseEvent *pEvent)
{
    if (pEvent->button() != Qt::LeftButton)
        return;
    const QPoint global = pEvent->globalPosition().toPoint();
    dragOffset = global - pos();
    pressPoint = pEvent->position().toPoint();
    dragState = camera->geometry().contains(pressPoint) ? DraggingCamera : MovingPanel;
}

void CaptureWin::mouseMoveEvent(QMouseEvent *pEvent)
{
    if (!(pEvent->buttons() & Qt::LeftButton))
        return;
    const QPoint global = pEvent->globalPosition().toPoint();
    if (dragState == MovingPanel) {
        move(global - dragOffset);
    } else if (dragState == DraggingCamera && !picking) {
        if ((pEvent->position().toPoint() - pressPoint).manhattanLength()
            >= QApplication::startDragDistance())
            startPicking();
    } else if (picking) {
        pickAt(global);
    }
}

// The icon leaves its place and becomes the cursor, its lens on the pointer.
void CaptureWin::startPicking()
{
    QCursor::setPos(camera->mapToGlobal(camera->rect().center()));
    camera->setPixmap(QPixmap());
    const int hotSpot = CapturePanel::px(this, 19);
    QApplication::setOverrideCursor(QCursor(cameraPicture, hotSpot, hotSpot));
    picking = true;
}

void CaptureWin::pickAt(const QPoint &globalPos)
{
    const WId window = Platform::instance().topLevelWindowAt(globalPos, excludedWindows());
    if (window != 0 && window != framed)
        frame(window);
}

// Frames the window and makes it the pick; false when it cannot be framed.
bool CaptureWin::frame(WId window)
{
    Platform &platform = Platform::instance();
    unframe();
    if (!platform.showWindowFrame(window))
        return false;
    framed = window;
    pickedWindow = window;
    picked = platform.windowFrameRect(window);
    // Told in the desktop's logical pixels, as every size the user sees.
    const QRect shown = NativeCoordinates::fromNative(picked);
    infoLabel->setText(QStringLiteral("x: %1, y: %2, \nw: %3, h: %4")
                           .arg(shown.x())
                           .arg(shown.y())
                           .arg(shown.width())
                           .arg(shown.height()));
    announcement->changed();
    return true;
}

// The next window down the stack (or up it), wrapping round; a window that
// went away meanwhile is passed over.
void CaptureWin::stepPick(int iStep)
{
    if (picking)
        return;
    const QList<WId> windows = Platform::instance().topLevelWindows(excludedWindows());
    const auto count = int(windows.size());
    int index = int(windows.indexOf(pickedWindow));
    if (index < 0 && iStep < 0)
        index = 0;
    for (int tried = 0; tried < count; ++tried) {
        index = (index + iStep + count) % count;
        if (frame(windows.at(index))) {
            noneToStepTo = false;
            enableOutputs(true);
            return;
        }
    }
    noneToStepTo = true;
    infoLabel->setText(Lang::single("Tools", QStringLiteral("No window to capture")));
    announcement->changed();
}

QString CaptureWin::spokenPick() const
{
    if (picked.isEmpty()) {
        return noneToStepTo
            ? Lang::single("Tools", QStringLiteral("No window to capture"))
            : Lang::single("Accessible",
                           QStringLiteral("Window to capture: drag the camera onto a window, or "
                                          "choose one with the arrow keys and press Return"));
    }
    const QRect shown = NativeCoordinates::fromNative(picked);
    const QString place
        = Lang::single("Accessible", QStringLiteral("x %1, y %2, width %3, height %4"))
              .arg(shown.x())
              .arg(shown.y())
              .arg(shown.width())
              .arg(shown.height());
    const QString name = Platform::instance().windowTitle(pickedWindow);
    return name.isEmpty() ? place : name + QStringLiteral(", ") + place;
}

// Down and Right go down the stack from the uppermost window, Up and Left
// back up; Return takes the pick as a new page, or presses the focused
// output button.
void CaptureWin::keyPressEvent(QKeyEvent *pEvent)
{
    switch (pEvent->key()) {
    case Qt::Key_Down:
    case Qt::Key_Right:
        stepPick(1);
        return;
    case Qt::Key_Up:
    case Qt::Key_Left:
        stepPick(-1);
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (auto *button = qobject_cast<QAbstractButton *>(focusWidget()))
            button->click();
        else if (!picked.isEmpty())
            slot_Captopage();
        return;
    default:
        QDialog::keyPressEvent(pEvent);
    }
}

void CaptureWin::unframe()
{
    if (framed != 0)
        Platform::instance().hideWindowFrame(framed);
    framed = 0;
}

void CaptureWin::mouseReleaseEvent(QMouseEvent *pEvent)
{
    if (picking)
        endPicking(pEvent->globalPosition().toPoint());
    dragState = NoDrag;
    if (pEvent->button() == Qt::RightButton)
        reject();
}

// Dropping the icon back on the panel, or where no window was framed,
// cancels the pick; otherwise the framed window is the one picked.
void CaptureWin::endPicking(const QPoint &globalPos)
{
    const bool cancelled = framed == 0 || rect().contains(mapFromGlobal(globalPos));
    unframe();
    camera->setPixmap(cameraPicture);
    camera->setFocus();
    if (cancelled) {
        picked = QRect();
        pickedWindow = 0;
        showHint();
    }
    announcement->changed();
    enableOutputs(!cancelled);
    QApplication::restoreOverrideCursor();
    picking = false;
}
