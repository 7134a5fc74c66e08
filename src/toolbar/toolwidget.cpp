#include "toolwidget.h"

#include "app/appstate.h"
#include "app/lang.h"
#include "app/placekeeper.h"
#include "app/screeninuse.h"
#include "dialwidget.h"
#include "toolbarkeys.h"
#include "toolcentralwidget.h"
#include "toolgridwidget.h"
#include "tooloptionwidget.h"
#include "toolwidgetbtn.h"
#include "toolwidgetbtn_option.h"
#include "widgets/closebtn.h"
#include "widgets/lookcolours.h"
#include "widgets/menubtn.h"
#include "widgets/minbtn.h"
#include "widgets/toolbarscale.h"

#include <QApplication>
#include <QDropEvent>
#include <QFile>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLayout>
#include <QLinearGradient>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QUrl>

#include <algorithm>
#include <climits>
#include <iterator>

namespace {

struct ButtonPlace
{
    int grid; // 0 history, 1 tools, 2 pages, 3 extras
    int row;
    int column;
    int columnSpan;
    int type;
    const char *icon;
    const char *tooltip;
};

constexpr ButtonPlace Places[ToolWidget::ButtonCount] = {
    { 0, 0, 0, 1, 0, "Undo", "Undo" },
    { 0, 0, 1, 1, 0, "Redo", "Redo" },
    { 1, 0, 0, 1, 0, "Mouse", "Mouse" },
    { 1, 0, 1, 1, 0, "Select", "Select" },
    { 1, 1, 0, 1, 0, "Pen", "Pen" },
    { 1, 1, 1, 1, 0, "Highlighter", "Highlighter" },
    { 1, 2, 0, 1, 0, "Eraser", "Eraser" },
    { 1, 2, 1, 1, 0, "Line", "Line" },
    { 1, 3, 0, 1, 0, "Shape", "Shape" },
    { 1, 3, 1, 1, 0, "Text", "Text" },
    { 2, 0, 0, 2, 2, "Newpage", "New Blank Page" },
    { 2, 1, 0, 2, 2, "Clearpage", "Clear Page" },
    { 2, 2, 0, 1, 0, "Pageup", "Previous Page" },
    { 2, 2, 1, 1, 0, "Pagedown", "Next Page" },
    { 2, 3, 0, 2, 1, "Browser", "Page Browser..." },
    { 3, 0, 0, 2, 1, "Livedesktop", "Live Desktop" },
    { 3, 1, 0, 2, 2, "Save", "Save..." },
    { 3, 2, 0, 2, 3, "Tools", "More Tools" },
};

// Spoken after a button's name where the name alone does not say what it does.
constexpr const char *Descriptions[ToolWidget::ButtonCount] = {
    "Takes back the last change on this page",
    "Does again what Undo took back",
    "Leaves the page and gives the mouse back to the desktop",
    "Picks, moves and resizes what is drawn",
    "Draws freehand lines",
    "Draws wide see-through lines",
    "Erases what is drawn",
    "Draws straight lines and arrows",
    "Draws rectangles and ellipses",
    "Writes text on the page",
    "Adds a blank page; its menu offers the other new pages",
    "Clears the page; its menu offers the other page commands",
    "",
    "",
    "Shows every page as a small picture",
    "Shows the live desktop under the drawing",
    "Saves the pages; its menu offers the other ways to save",
    "Opens the capture, colour picker, magnifier, ruler and protractor",
};

// Enabled by the canvas once there is something to undo, turn to or save.
constexpr int StartDisabled[] = { ToolWidget::Undo, ToolWidget::Redo, ToolWidget::PageUp,
                                  ToolWidget::PageDown, ToolWidget::Save };

const char *const MenuTitles[] = { "File", "Edit", "View", "Tools", "Help" };

bool drawsInColour(int index)
{
    return index == ToolWidget::Pen || index == ToolWidget::Highlighter || index == ToolWidget::Line
        || index == ToolWidget::Shape || index == ToolWidget::Text;
}

bool isImageFile(const QString &strName)
{
    for (const char *suffix : { ".bmp", ".jpg", ".jpeg", ".png" })
        if (strName.endsWith(QLatin1String(suffix), Qt::CaseInsensitive))
            return true;
    return false;
}

QString readStyleSheet(const QString &strPath)
{
    QFile file(strPath);
    return file.open(QIODevice::ReadOnly | QIODevice::Text) ? QString::fromUtf8(file.readAll())
                                                            : QString();
}

QPoint clampedInto(const QRect &area, QRect rect)
{
    rect.moveRight(qMin(rect.right(), area.right()));
    rect.moveBottom(qMin(rect.bottom(), area.bottom()));
    rect.moveLeft(qMax(rect.left(), area.left()));
    rect.moveTop(qMax(rect.top(), area.top()));
    return rect.topLeft();
}

} // namespace

ToolWidget::ToolWidget(QWidget *pParent)
    : QMainWindow(pParent)
    , keeper(new PlaceKeeper(this))
    , titleHeight(ToolbarScale::barPx(this, 20))
    , keys(new ToolbarKeys(this))
{
    setUpWindow();
    central = new ToolCentralWidget(titleHeight, this);
    setCentralWidget(central);
    createButtons();
    arrangeColumns();
    createTitleButtons();
    keys->setOrder(keyboardControls());
    slot_UpdateLang();
    const AppState &s = AppState::instance();
    folded = s.minimize;
    applyFoldedSize();
    moveToolbar(QPoint(s.barPosX, s.barPosY));
}

void ToolWidget::setUpWindow()
{
    // Keep the window flag: the toolbar stays a window of its own even when
    // created with the main window as parent.
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    applyStyleSheet();
    setAcceptDrops(true);
    setMouseTracking(true);
    // A tool window over other programs is rarely the active one.
    setAttribute(Qt::WA_AlwaysShowToolTips);
    const int opacity = AppState::instance().toolWidgetOpacity;
    if (opacity != 100)
        setWindowOpacity(opacity / 100.0);
    setWindowTitle(QStringLiteral("%1 %2").arg(QCoreApplication::organizationName(),
                                               QCoreApplication::applicationName()));
}

void ToolWidget::createButtons()
{
    for (ToolGridWidget *&grid : grids) {
        grid = new ToolGridWidget(central);
        central->addGrid(grid);
    }
    for (int i = 0; i < ButtonCount; ++i) {
        const ButtonPlace &place = Places[i];
        ToolGridWidget *grid = grids[place.grid];
        buttons[i] = new ToolWidgetBtn(place.type,
                                       QStringLiteral(":/Res/") + QLatin1String(place.icon), grid);
        grid->addWidget(buttons[i], place.row, place.column, place.columnSpan);
    }
    optionWidget = new ToolOptionWidget(grids[1]);
    grids[1]->addWidget(optionWidget, 4, 0, 2);
    for (int index : StartDisabled)
        buttons[index]->setEnabled(false);
}

void ToolWidget::createTitleButtons()
{
    closeBtn = new CloseBtn(this);
    minBtn = new MinBtn(this);
    menuBtn = new MenuBtn(this);
    layOutTitle();
    placeMenuButton();
    for (QWidget *title : { static_cast<QWidget *>(closeBtn), static_cast<QWidget *>(minBtn),
                            static_cast<QWidget *>(menuBtn) })
        title->raise();
    // The menus are the keyboard's way to every command from the desktop.
    menuBtn->setFocusPolicy(Qt::TabFocus);
    connect(minBtn, &QAbstractButton::clicked, this, &ToolWidget::slot_Minimize);
    connect(menuBtn, &QAbstractButton::clicked, this, &ToolWidget::slot_Menu);
}

ToolWidgetBtn *ToolWidget::button(int index) const
{
    return (index >= 0 && index < ButtonCount) ? buttons[index] : nullptr;
}

int ToolWidget::indexOf(const ToolWidgetBtn *pButton) const
{
    const auto *found = std::find(std::begin(buttons), std::end(buttons), pButton);
    return found == std::end(buttons) ? -1 : int(found - std::begin(buttons));
}

// Looked up when a reader asks, not at every start and change of language.
QString ToolWidget::description(const ToolWidgetBtn *pButton) const
{
    if (pButton == optionButton())
        return Lang::single("Accessible",
                            QStringLiteral("Width, colour and style of the current tool, and "
                                           "nine quick colours"));
    const int index = indexOf(pButton);
    return index < 0 ? QString() : Lang::single("Accessible", QLatin1String(Descriptions[index]));
}

ToolWidgetBtn_Option *ToolWidget::optionButton() const
{
    return optionWidget->optionButton();
}

QDial *ToolWidget::dial() const
{
    return optionWidget->dial();
}

QAbstractButton *ToolWidget::closeButton() const
{
    return closeBtn;
}

void ToolWidget::setCurrentToolButton(int index)
{
    for (int i = Mouse; i <= Text; ++i)
        buttons[i]->setCurrentMark(i == index);
    optionButton()->setSwatchesActive(drawsInColour(index));
}

void ToolWidget::setDial(int value, int min, int max)
{
    DialWidget *dialWidget = optionWidget->dial();
    dialWidget->setRange(min, max);
    dialWidget->setValue(value);
    dialWidget->setEnabled(max > min);
    dialWidget->update();
}

void ToolWidget::setOptionColour(const QColor &colour)
{
    optionButton()->setColour(colour);
}

void ToolWidget::setMenus(const QList<QMenu *> &menuList)
{
    menus.clear();
    for (QMenu *menu : menuList)
        menus.append(menu);
}

bool ToolWidget::isOnLeftOf(const QWidget *pInside)
{
    for (const QWidget *w = pInside; w; w = w->parentWidget()) {
        if (const auto *toolbar = qobject_cast<const ToolWidget *>(w))
            return toolbar->isOnLeft();
    }
    return true;
}

ToolWidget *ToolWidget::of(const QWidget *pInside)
{
    for (const QWidget *w = pInside; w; w = w->parentWidget()) {
        if (const auto *toolbar = qobject_cast<const ToolWidget *>(w))
            return const_cast<ToolWidget *>(toolbar);
    }
    return nullptr;
}

QList<QWidget *> ToolWidget::keyboardControls() const
{
    QList<QWidget *> controls;
    for (int i = 0; i < ButtonCount; ++i) {
        controls.append(buttons[i]);
        // The dial and the options button sit below the tools.
        if (i == Text)
            controls << optionWidget->dial() << optionButton();
    }
    controls.append(menuBtn);
    return controls;
}

void ToolWidget::focusKeyboard(QWidget *pAt)
{
    if (folded)
        setFolded(false);
    keys->enter(pAt);
}

bool ToolWidget::isKeyboardMode() const
{
    return keys->isActive();
}

bool ToolWidget::showsFocusRing(const QWidget *pControl)
{
    const ToolWidget *toolbar = of(pControl);
    return toolbar && toolbar->isKeyboardMode() && pControl->hasFocus();
}

void ToolWidget::mouseUsed(const QWidget *pInside)
{
    if (ToolWidget *toolbar = of(pInside))
        toolbar->keys->setActive(false);
}

void ToolWidget::keyPressEvent(QKeyEvent *pEvent)
{
    if (pEvent->key() == Qt::Key_F6 && keys->isActive()) {
        Q_EMIT signal_NextPane();
        return;
    }
    if (!keys->keyPress(pEvent))
        QMainWindow::keyPressEvent(pEvent);
}

bool ToolWidget::event(QEvent *pEvent)
{
    if (pEvent->type() == QEvent::ParentAboutToChange)
        keys->holdFocus();
    else if (pEvent->type() == QEvent::Show)
        keys->restoreFocus();
    return QMainWindow::event(pEvent);
}

bool ToolWidget::focusNextPrevChild(bool bNext)
{
    return keys->step(bNext) || QMainWindow::focusNextPrevChild(bNext);
}

QRect ToolWidget::allowedArea() const
{
    if (!isWindow())
        return parentWidget()->rect();
    const QScreen *screen = ScreenInUse::screen();
    return screen ? screen->geometry() : QRect();
}

void ToolWidget::moveToolbar(const QPoint &point)
{
    fitColumnsToArea();
    const QRect area = allowedArea();
    QRect target(point, frameGeometry().size());
    if (!area.isEmpty() && !area.contains(target))
        target.moveTopLeft(QPoint(area.left(), area.top() + (area.height() - target.height()) / 2));
    place(target.topLeft());
    updateSide();
}

void ToolWidget::pullInside()
{
    fitColumnsToArea();
    const QRect area = allowedArea();
    if (!area.isEmpty())
        place(clampedInto(area, placedRect()));
}

// Where the toolbar was put, in the coordinates of allowedArea(): the window
// system's own report can lag behind right after mapping.
QRect ToolWidget::placedRect() const
{
    const QPoint topLeft = isWindow() ? placed : parentWidget()->mapFromGlobal(placed);
    return QRect(topLeft, frameGeometry().size());
}

// The screen holding the toolbar's centre, else the one it overlaps most.
void ToolWidget::chooseScreenOfToolbar()
{
    const QRect bar = placedRect();
    const QList<QScreen *> screens = QGuiApplication::screens();
    int best = -1;
    qint64 bestOverlap = 0;
    for (int i = 0; i < screens.size(); ++i) {
        const QRect common = screens.at(i)->geometry() & bar;
        qint64 overlap = qint64(common.width()) * common.height();
        if (screens.at(i)->geometry().contains(bar.center()))
            overlap += qint64(bar.width()) * bar.height();
        if (overlap > bestOverlap) {
            best = i;
            bestOverlap = overlap;
        }
    }
    if (best >= 0 && screens.at(best) != ScreenInUse::screen())
        Q_EMIT signal_ScreenChosen(screens.at(best));
}

void ToolWidget::updateSide()
{
    const QRect area = allowedArea();
    const bool left = placedRect().center().x() < area.center().x();
    if (onLeft == left)
        return;
    onLeft = left;
    update();
    Q_EMIT signal_SideChanged(onLeft);
}

void ToolWidget::moveGlobal(const QPoint &topLeft)
{
    place(isWindow() ? topLeft : parentWidget()->mapFromGlobal(topLeft));
}

// The position is remembered here rather than read back from move events:
// right after mapping, some window managers report the window at the
// corner of its frame (0, 0) until their own notice follows.
void ToolWidget::place(const QPoint &local)
{
    move(local);
    if (isWindow())
        keeper->expect(local);
    placed = isWindow() ? local : parentWidget()->mapToGlobal(local);
    AppState &s = AppState::instance();
    s.barPosX = placed.x();
    s.barPosY = placed.y();
}

void ToolWidget::slot_Minimize()
{
    setFolded(!folded);
}

void ToolWidget::setFolded(bool bFolded)
{
    folded = bFolded;
    AppState::instance().minimize = bFolded;
    applyFoldedSize();
    if (!bFolded)
        pullInside();
}

void ToolWidget::slot_UpdateSize()
{
    for (ToolWidgetBtn *btn : buttons)
        btn->applySize();
    optionButton()->applySize();
    optionWidget->dial()->applySize();
    optionWidget->layout()->activate();
    for (ToolGridWidget *grid : grids)
        grid->layout()->activate();
    layOutTitle();
    arrangeColumns();
    placeMenuButton();
    applyFoldedSize();
    moveToolbar(placedRect().topLeft());
}

void ToolWidget::layOutTitle()
{
    titleHeight = ToolbarScale::barPx(this, 20);
    central->setTitleHeight(titleHeight);
    const int margin = ToolbarScale::barPx(this, 2);
    const int side = ToolbarScale::barPx(this, 16);
    for (StripButton *title :
         { static_cast<StripButton *>(closeBtn), static_cast<StripButton *>(minBtn),
           static_cast<StripButton *>(menuBtn) })
        title->setSide(side);
    closeBtn->move(margin, margin);
    minBtn->move(closeBtn->width() + margin, margin);
}

void ToolWidget::placeMenuButton()
{
    const int margin = ToolbarScale::barPx(this, 2);
    menuBtn->move(unfoldedSize.width() - margin - menuBtn->width(), margin);
}

void ToolWidget::applyStyleSheet()
{
    setStyleSheet(readStyleSheet(QStringLiteral(":/Style/menu.qss"))
                  + LookColours::panelStyleSheet());
}

void ToolWidget::slot_UpdateLook()
{
    applyStyleSheet();
    for (QWidget *part : findChildren<QWidget *>())
        part->update();
    update();
}

// Too tall a toolbar goes into columns rather than off its screen.
void ToolWidget::arrangeColumns()
{
    arrangedHeight = maxBodyHeight();
    central->arrange(arrangedHeight);
    unfoldedSize = central->sizeHint();
}

// On a screen of another height (dropped there, or the screen resized) the
// toolbar takes more or fewer columns, so that all of it stays reachable.
void ToolWidget::fitColumnsToArea()
{
    if (maxBodyHeight() == arrangedHeight)
        return;
    arrangeColumns();
    applyFoldedSize();
    placeMenuButton();
}

int ToolWidget::maxBodyHeight() const
{
    const QRect area = allowedArea();
    return area.isEmpty() ? INT_MAX : area.height();
}

void ToolWidget::applyFoldedSize()
{
    central->setVisible(!folded);
    setFixedSize(folded ? QSize(unfoldedSize.width(), titleHeight) : unfoldedSize);
}

void ToolWidget::slot_Menu()
{
    QPointer<QMenu> popup = new QMenu(this);
    for (int i = 0; i < menus.size() && i < int(std::size(MenuTitles)); ++i) {
        QMenu *submenu = popup->addMenu(Lang::tr("MainWindow", QLatin1String(MenuTitles[i])));
        if (menus.at(i))
            submenu->addActions(menus.at(i)->actions());
    }
    Lang::release();
    // Open towards the screen centre, hanging from the menu button.
    QPoint anchor(0, menuBtn->height());
    if (!onLeft)
        anchor.rx() += menuBtn->width() - popup->sizeHint().width();
    popup->exec(menuBtn->mapToGlobal(anchor));
    delete popup.data();
}

void ToolWidget::slot_UpdateLang()
{
    for (int i = 0; i < ButtonCount; ++i)
        buttons[i]->setToolTip(Lang::tr("MainWindow", QLatin1String(Places[i].tooltip)));
    optionButton()->setToolTip(Lang::tr("MainWindow", QStringLiteral("Draw Tool Options")));
    dial()->setAccessibleName(Lang::tr("Accessible", QStringLiteral("Width")));
    setAccessibleName(Lang::tr("Accessible", QStringLiteral("Toolbar")));
    closeBtn->setToolTip(Lang::tr("MainWindow", QStringLiteral("Close")));
    minBtn->setToolTip(Lang::tr("MainWindow", QStringLiteral("Minimize")));
    menuBtn->setToolTip(Lang::tr("MainWindow", QStringLiteral("Menu")));
    Lang::release();
}

void ToolWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (LookColours::highContrast()) {
        paintContrast(painter);
        return;
    }
    const QColor border(30, 30, 30);
    painter.fillRect(rect(), border);
    painter.fillRect(rect().adjusted(1, 1, -1, -1), QColor(210, 210, 210));
    const QRect strip(0, 0, width(), titleHeight);
    painter.fillRect(strip, border);
    QLinearGradient gradient(0, 0, 0, titleHeight);
    gradient.setColorAt(0, Qt::white);
    gradient.setColorAt(0.1, QColor(120, 120, 120));
    gradient.setColorAt(0.97, QColor(120, 120, 120));
    gradient.setColorAt(1.0, Qt::white);
    painter.fillRect(strip.adjusted(1, 1, -1, -1), gradient);
}

void ToolWidget::paintContrast(QPainter &painter) const
{
    const QColor ink = LookColours::ink();
    painter.fillRect(rect(), ink);
    painter.fillRect(rect().adjusted(2, 2, -2, -2), LookColours::face());
    painter.fillRect(QRect(0, 0, width(), titleHeight), ink);
}

void ToolWidget::mousePressEvent(QMouseEvent *pEvent)
{
    keys->setActive(false);
    if (pEvent->button() != Qt::LeftButton) {
        QMainWindow::mousePressEvent(pEvent);
        return;
    }
    dragState = 1;
    pressPoint = pEvent->position().toPoint();
    pressOffset = pressPoint;
}

void ToolWidget::mouseMoveEvent(QMouseEvent *pEvent)
{
    if (!(pEvent->buttons() & Qt::LeftButton))
        return;
    const QPoint global = pEvent->globalPosition().toPoint();
    if (dragState == 0) {
        // A button gave up its press to a drag: carry on from here.
        pressOffset = pEvent->position().toPoint();
        dragState = 2;
    }
    const int threshold = 6 * QApplication::startDragDistance();
    if (dragState == 1
        && (pEvent->position().toPoint() - pressPoint).manhattanLength() >= threshold)
        dragState = 2;
    if (dragState == 2)
        moveGlobal(global - pressOffset);
}

void ToolWidget::mouseReleaseEvent(QMouseEvent *pEvent)
{
    if (pEvent->button() != Qt::LeftButton || dragState == 0) {
        QMainWindow::mouseReleaseEvent(pEvent);
        return;
    }
    dragState = 0;
    raise();
    if (isWindow())
        chooseScreenOfToolbar();
    pullInside();
    updateSide();
}

void ToolWidget::dragEnterEvent(QDragEnterEvent *pEvent)
{
    if (pEvent->mimeData()->hasFormat(QStringLiteral("text/uri-list")))
        pEvent->acceptProposedAction();
}

void ToolWidget::dropEvent(QDropEvent *pEvent)
{
    QStringList files;
    for (const QUrl &url : pEvent->mimeData()->urls()) {
        const QString name = url.toLocalFile();
        if (isImageFile(name) || name.endsWith(QLatin1String(".tavelmark"), Qt::CaseInsensitive)
            || name.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
            files.append(name);
    }
    if (files.isEmpty())
        return;
    pEvent->acceptProposedAction();
    emit signal_FilesDropped(files);
}
