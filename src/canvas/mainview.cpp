#include "mainview.h"

#include "app/appstate.h"
#include "app/devicepixels.h"
#include "app/exactpointer.h"
#include "app/resourcepixmap.h"
#include "app/scaledcursor.h"
#include "app/screeninuse.h"
#include "document/backgroundfiles.h"
#include "document/mainpage.h"
#include "document/obj.h"
#include "document/pagerenderer.h"
#include "document/removecommand.h"
#include "dragtool.h"
#include "erasertool.h"
#include "platform/nativecoordinates.h"
#include "platform/platform.h"
#include "presenterkit.h"
#include "regionpainter.h"
#include "selecttool.h"
#include "toolkit.h"

#include <QFile>
#include <QGuiApplication>
#include <QImageReader>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTabletEvent>
#include <QUndoStack>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// The UI scale: logical DPI / 96, or 2 with the touch interface.
double uiScale(const QWidget *widget)
{
    return AppState::instance().enableTouchUI ? 2.0 : widget->logicalDpiX() / 96.0;
}

// The nine-slice frame picture: a 3 x 3 grid of square tiles.
const QImage &frameImage(bool highRes)
{
    static const QImage normal
        = ResourcePixmap::load(QStringLiteral(":/Res/Frame"), false).toImage();
    static const QImage twin = ResourcePixmap::load(QStringLiteral(":/Res/Frame"), true).toImage();
    return highRes ? twin : normal;
}

// Pointer positions snap to the nearest device pixel: whole logical pixels
// would put a stroke up to a device pixel away from the pointer.
QPointF snapToDevice(const QPointF &position, qreal ratio)
{
    return QPointF(std::floor(position.x() * ratio + 0.5) / ratio,
                   std::floor(position.y() * ratio + 0.5) / ratio);
}

// Not cleared here: rendering the whole layer clears it first.
QImage layerFor(const MainPage *page)
{
    QImage image(page->pixelSize, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(page->pixelRatio);
    return image;
}

} // namespace

MainView::MainView(QWidget *pParent)
    : QWidget(pParent)
{
    setAttribute(Qt::WA_StaticContents);
    setMouseTracking(true);
    ExactPointer::watch();
}

MainView::~MainView() = default;

QSize MainView::newPage()
{
    ToolKit::instance().resetTool();
    QScreen *screen = ScreenInUse::screen();
    auto *created = new MainPage(screen ? screen->size() : QSize(800, 600), false);
    const qreal ratio = screen ? screen->devicePixelRatio() : 1.0;
    created->setPixels(DevicePixels::size(created->size, ratio), ratio);
    pages.insert(pageNumber, created);
    makeCurrent(created, pageNumber + 1);
    return created->size;
}

void MainView::duplicatePage()
{
    if (!page) {
        updatePageCommands();
        return;
    }
    ToolKit::instance().resetTool();
    // The copy shows the same picture from a file of its own.
    if (page->background == MainPage::PictureBackground)
        writeBackgroundFile(MainPage::nextId());
    MainPage *copy = page->clone();
    pages.insert(pageNumber, copy);
    makeCurrent(copy, pageNumber + 1);
}

void MainView::addPages(const QList<MainPage *> &added)
{
    if (added.isEmpty())
        return;
    ToolKit::instance().resetTool();
    for (int i = 0; i < added.size(); ++i)
        pages.insert(pageNumber + i, added.at(i));
    makeCurrent(added.first(), pageNumber + 1);
}

int MainView::deletePage()
{
    if (!page)
        return 0;
    ToolKit::instance().resetTool();
    const int deleted = pageNumber;
    pages.removeAt(pageNumber - 1);
    discardPage(page);
    page = nullptr;
    if (pages.isEmpty()) {
        pageNumber = 0;
        newPage();
        return 0;
    }
    const int index = qMin(deleted - 1, int(pages.size()) - 1);
    makeCurrent(pages.at(index), index + 1);
    return deleted;
}

bool MainView::gotoPage(int index)
{
    if (index + 1 == pageNumber)
        return false;
    ToolKit::instance().resetTool();
    if (index < 0 || index >= pages.size()) {
        updatePageCommands();
        return false;
    }
    makeCurrent(pages.at(index), index + 1);
    return true;
}

void MainView::movePage(int from, int to)
{
    if (from < 0 || from >= pages.size() || to < 0 || to >= pages.size())
        return;
    pages.move(from, to);
    pageNumber = page ? int(pages.indexOf(page)) + 1 : 0;
    updatePageCommands();
    update();
}

void MainView::clearAll(bool bCreateNew)
{
    ToolKit::instance().resetTool();
    for (MainPage *p : std::as_const(pages))
        discardPage(p);
    pages.clear();
    page = nullptr;
    pageNumber = 0;
    layerImage.reset();
    background = QPixmap();
    backgrounds.clear();
    if (bCreateNew)
        newPage();
    updatePageCommands();
    update();
}

void MainView::clearPage()
{
    if (!page || page->objects.isEmpty())
        return;
    // A selection must not outlive the objects it points at.
    ToolKit::instance().resetTool();
    // The push leaves the layer to us: rebuild it whole.
    if (pushCommand(new RemoveCommand(this)))
        updateObjectCache(page, QRect());
}

bool MainView::pushCommand(QUndoCommand *command)
{
    if (!page) {
        delete command;
        return false;
    }
    page->undoStack->push(command);
    page->modified = true;
    updateUndoCommands();
    return true;
}

bool MainView::undo()
{
    if (!page)
        return false;
    ToolKit::instance().resetTool();
    page->undoStack->undo();
    page->modified = true;
    updateUndoCommands();
    return true;
}

bool MainView::redo()
{
    if (!page)
        return false;
    ToolKit::instance().resetTool();
    page->undoStack->redo();
    page->modified = true;
    updateUndoCommands();
    return true;
}

Obj *MainView::objectAt(const QPointF &point, int *hit) const
{
    if (!page)
        return nullptr;
    for (auto it = page->objects.crbegin(); it != page->objects.crend(); ++it) {
        const int result = (*it)->hitTest(point, false);
        if (result != 0) {
            if (hit)
                *hit = result;
            return *it;
        }
    }
    return nullptr;
}

QList<Obj *> MainView::pageObjects() const
{
    return page ? page->objects : QList<Obj *>();
}

bool MainView::isAnyPageModified() const
{
    return std::any_of(pages.cbegin(), pages.cend(), [](MainPage *p) { return p->modified; });
}

void MainView::setAllPagesModified(bool bModified)
{
    for (MainPage *p : std::as_const(pages))
        p->modified = bModified;
}

bool MainView::canUndo() const
{
    return page && page->undoStack->canUndo();
}

bool MainView::canRedo() const
{
    return page && page->undoStack->canRedo();
}

void MainView::setBackground(const QPixmap &picture)
{
    if (!page)
        return;
    backgrounds.forget(page->id);
    background = picture;
    // A grab of a screen at a fractional ratio can be a device pixel off the
    // size rounded from the page's logical size; the page takes the grab's.
    const QSize off = picture.size() - page->pixelSize;
    if (!picture.isNull() && qFuzzyCompare(picture.devicePixelRatio(), page->pixelRatio)
        && off != QSize(0, 0) && qAbs(off.width()) <= 1 && qAbs(off.height()) <= 1) {
        page->setPixels(picture.size(), page->pixelRatio);
        updateObjectCache(page, QRect());
    }
    saveBackground();
    update();
}

void MainView::saveBackground()
{
    if (!page)
        return;
    page->background = MainPage::PictureBackground;
    writeBackgroundFile(page->id);
}

// The picture is kept in a file of the private temporary folder, readable by
// its owner only, written by a worker while the page is already shown.
void MainView::writeBackgroundFile(int pageId) const
{
    BackgroundFiles::instance().write(pageId, background.toImage());
}

// The page's picture: kept decoded, still in memory while its file is
// written, or else decoded from its file into the pixels of the picture that
// the page left behind pushes out of the cache (fresh memory costs more to
// fill than the decode itself).
void MainView::loadBackground(int leftId, const QPixmap &left)
{
    background = QPixmap();
    const bool picture = page && page->background == MainPage::PictureBackground;
    if (picture)
        background = backgrounds.find(page->id);
    if (picture && background.isNull())
        background = QPixmap::fromImage(BackgroundFiles::instance().unwritten(page->id));
    const QString file = picture ? MainPage::backgroundFile(page->id) : QString();
    const bool decodes = picture && background.isNull() && QFile::exists(file);
    QImage evicted;
    backgrounds.keep(leftId, left, decodes ? &evicted : nullptr);
    if (decodes && QImageReader(file, "PNG").read(&evicted))
        background = QPixmap::fromImage(std::move(evicted));
    if (!background.isNull())
        background.setDevicePixelRatio(page->pixelRatio);
}

// The page left behind stays decoded, and its neighbours are decoded while
// the user looks at this one.
void MainView::decodeNeighbours()
{
    QHash<int, qreal> ahead;
    for (int index : { pageNumber, pageNumber - 2 }) {
        const MainPage *neighbour = index >= 0 && index < pages.size() ? pages.at(index) : nullptr;
        if (neighbour && neighbour->background == MainPage::PictureBackground)
            ahead.insert(neighbour->id, neighbour->pixelRatio);
    }
    backgrounds.decodeAhead(ahead);
}

void MainView::discardPage(MainPage *pPage)
{
    backgrounds.forget(pPage->id);
    BackgroundFiles::instance().forget(pPage->id);
    if (pPage->background == MainPage::PictureBackground)
        QFile::remove(MainPage::backgroundFile(pPage->id));
    delete pPage;
}

void MainView::makeCurrent(MainPage *pPage, int number)
{
    QPixmap left;
    const int leftId = page ? page->id : 0;
    if (page && page != pPage && page->background == MainPage::PictureBackground)
        left = std::exchange(background, QPixmap());
    page = pPage;
    pageNumber = number;
    PresenterKit::instance().pageChanged();
    loadBackground(leftId, left);
    updateObjectCache(page, QRect());
    updatePageCommands();
    update();
    decodeNeighbours();
}

void MainView::updateObjectCache(MainPage *pPage, const QRect &rect)
{
    if (!pPage || pPage != page)
        return;
    if (rect.isValid() && layerImage) {
        page->renderLayer(layerImage.get(), rect);
        layerBlank = false;
        update(toView(rect));
        return;
    }
    const bool blank = std::all_of(page->objects.cbegin(), page->objects.cend(),
                                   [](const Obj *obj) { return obj->isFloating(); });
    // A layer of the same pixels is reused: a fresh one costs page faults
    // that a page switch at 2560 x 1600 notices. A blank one stays as it is.
    if (!layerImage || layerImage->size() != page->pixelSize
        || layerImage->devicePixelRatio() != page->pixelRatio)
        layerImage = std::make_unique<QImage>(layerFor(page));
    else if (blank && layerBlank)
        return update();
    page->renderLayer(layerImage.get(), QRect());
    layerBlank = blank;
    update();
}

void MainView::repaint(const QRect &rect)
{
    update(toView(rect));
}

void MainView::repaint(const QRegion &pageRegion)
{
    if (scale == 1) {
        update(pageRegion);
        return;
    }
    for (const QRect &r : pageRegion)
        update(toView(r));
}

void MainView::repaintNow(const QRect &pageRect)
{
    QWidget::repaint(toView(pageRect));
}

QList<Obj *> MainView::selection() const
{
    return ToolKit::instance().selectTool()->selectedObjects();
}

void MainView::addToSelection(Obj *obj)
{
    repaint(ToolKit::instance().selectTool()->addToSelection(obj));
}

void MainView::removeFromSelection(Obj *obj)
{
    repaint(ToolKit::instance().selectTool()->removeFromSelection(obj));
}

// Rendered from a copy of the page, as exports and thumbnails render it.
QImage MainView::renderPage(MainPage *pPage, bool bScaled, float factor) const
{
    return pPage ? PageRenderer::renderPage(PageRenderer::snapshot(pPage), bScaled, factor)
                 : QImage();
}

QImage MainView::renderObjects(MainPage *pPage, bool bScaled, float factor) const
{
    return pPage ? PageRenderer::renderObjects(PageRenderer::snapshot(pPage), bScaled, factor)
                 : QImage();
}

// Composed in device pixels, where screens of different ratios lie side by
// side without gap: each screen the rectangle touches gives its part one to
// one, and the picture takes the finest of their ratios.
QPixmap MainView::grabDesktopRect(const QRect &device) const
{
    QImage picture(device.size(), QImage::Format_RGB32);
    picture.fill(Qt::black);
    QPainter painter(&picture);
    qreal ratio = 0;
    for (QScreen *screen : QGuiApplication::screens()) {
        const QRect covered = NativeCoordinates::screenRect(screen);
        const QRect part = covered & device;
        if (part.isEmpty())
            continue;
        const QPixmap grab = Platform::instance().grabScreen(screen);
        if (grab.isNull())
            return QPixmap();
        painter.drawPixmap(QRect(part.topLeft() - device.topLeft(), part.size()), grab,
                           part.translated(-covered.topLeft()));
        ratio = qMax(ratio, screen->devicePixelRatio());
    }
    painter.end();
    if (ratio == 0)
        return QPixmap();
    picture.setDevicePixelRatio(ratio);
    return QPixmap::fromImage(std::move(picture));
}

QPixmap MainView::grabScreen(const QPoint &point, bool bAtPoint) const
{
    QScreen *screen = bAtPoint ? QGuiApplication::screenAt(point) : ScreenInUse::screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return Platform::instance().grabScreen(screen);
}

void MainView::fitToWindow(const QSize &window)
{
    if (!page) {
        scale = 1;
        setFixedSize(window);
        move(0, 0);
        return;
    }
    const QSize full = page->size;
    scale = qMin(1.0,
                 qMin(qreal(window.width()) / qMax(1, full.width()),
                      qreal(window.height()) / qMax(1, full.height())));
    const QSize shown = scale == 1 ? full : (QSizeF(full) * scale).toSize();
    setFixedSize(shown);
    move((window.width() - shown.width()) / 2, (window.height() - shown.height()) / 2);
}

QRect MainView::pageRect() const
{
    return page ? QRect(QPoint(0, 0), page->size) : rect();
}

QPointF MainView::toView(const QPointF &pagePoint) const
{
    return pagePoint * scale;
}

QPointF MainView::toPage(const QPointF &viewPoint) const
{
    return viewPoint / scale;
}

// Widened by a pixel: smooth scaling reaches a little past the rectangle.
QRect MainView::toView(const QRect &pageRect) const
{
    if (scale == 1)
        return pageRect;
    const QRectF shown(QPointF(pageRect.topLeft()) * scale, QSizeF(pageRect.size()) * scale);
    return shown.toAlignedRect().adjusted(-1, -1, 1, 1);
}

QRegion MainView::toPage(const QRegion &viewRegion) const
{
    if (scale == 1)
        return viewRegion;
    QRegion region;
    for (const QRect &r : viewRegion)
        region += QRectF(QPointF(r.topLeft()) / scale, QSizeF(r.size()) / scale)
                      .toAlignedRect()
                      .adjusted(-1, -1, 1, 1);
    return region;
}

bool MainView::onePerPixel() const
{
    return scale == 1 && page && qFuzzyCompare(page->pixelRatio, devicePixelRatioF());
}

void MainView::updatePageCommands()
{
    if (parentWidget())
        fitToWindow(parentWidget()->size());
    Q_EMIT signal_PageCommands(page != nullptr, pageNumber >= 2, pageNumber < pages.size());
    updateUndoCommands();
}

void MainView::updateUndoCommands()
{
    Q_EMIT signal_UndoCommands(canUndo(), canRedo());
}

// Called on every pointer move: cheap unless the cursor really changes.
void MainView::setDrawCursor()
{
    const AppState &s = AppState::instance();
    const double scale = s.enableTouchUI ? -s.scaleFactor1 : s.scaleFactor1;
    if (scale != drawCursorScale) {
        drawCursor = ScaledCursor::make(QStringLiteral(":/Cursor/Cross"), QPoint(11, 11));
        drawCursorScale = scale;
        drawCursorShown = false;
    }
    if (drawCursorShown)
        return;
    settingDrawCursor = true;
    setCursor(drawCursor);
    settingDrawCursor = false;
    drawCursorShown = true;
}

bool MainView::event(QEvent *pEvent)
{
    if (pEvent->type() == QEvent::CursorChange && !settingDrawCursor)
        drawCursorShown = false;
    return QWidget::event(pEvent);
}

QPointF MainView::pointOf(const QSinglePointEvent *pEvent) const
{
    return toPage(snapToDevice(DevicePixels::position(this, pEvent), devicePixelRatio()));
}

void MainView::mousePressEvent(QMouseEvent *pEvent)
{
    if (stylusDown)
        return;
    const QPointF point = pointOf(pEvent);
    if (!(pEvent->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier))
        && pEvent->buttons() == Qt::RightButton)
        rightDrag = true;
    if (rightDrag)
        ToolKit::instance().dragTool()->mousePress(this, point, pEvent);
    else
        ToolKit::instance().mousePress(this, point, pEvent);
}

void MainView::mouseMoveEvent(QMouseEvent *pEvent)
{
    if (stylusDown)
        return;
    const QPointF point = pointOf(pEvent);
    if (rightDrag)
        ToolKit::instance().dragTool()->mouseMove(this, point, pEvent);
    else
        ToolKit::instance().mouseMove(this, point, pEvent);
}

void MainView::mouseReleaseEvent(QMouseEvent *pEvent)
{
    if (stylusDown)
        return;
    const QPointF point = pointOf(pEvent);
    if (rightDrag) {
        ToolKit::instance().dragTool()->mouseRelease(this, point, pEvent);
        rightDrag = false;
    } else {
        ToolKit::instance().mouseRelease(this, point, pEvent);
    }
}

void MainView::mouseDoubleClickEvent(QMouseEvent *pEvent)
{
    if (stylusDown)
        return;
    ToolKit::instance().mouseDoubleClick(this, pointOf(pEvent), pEvent);
}

void MainView::tabletEvent(QTabletEvent *pEvent)
{
    if (!AppState::instance().supportPenAndTouch) {
        QWidget::tabletEvent(pEvent);
        return;
    }
    pEvent->accept();
    if (pEvent->deviceType() != QInputDevice::DeviceType::Stylus)
        return;
    ToolKit &kit = ToolKit::instance();
    const QPointF point = pointOf(pEvent);
    const bool eraserEnd = pEvent->pointerType() == QPointingDevice::PointerType::Eraser;
    switch (pEvent->type()) {
    case QEvent::TabletPress:
        if (eraserEnd && stylusDown == 0) {
            savedToolId = kit.currentToolId();
            kit.setCurrentTool(ToolKit::Eraser);
        }
        stylusDown = 1;
        kit.mousePress(this, point, pEvent);
        break;
    case QEvent::TabletMove:
        kit.mouseMove(this, point, pEvent);
        break;
    case QEvent::TabletRelease:
        kit.mouseRelease(this, point, pEvent);
        if (eraserEnd)
            kit.setCurrentTool(savedToolId);
        stylusDown = 0;
        break;
    default:
        break;
    }
}

void MainView::wheelEvent(QWheelEvent *pEvent)
{
    if (!ToolKit::instance().wheel(this, pEvent))
        QWidget::wheelEvent(pEvent);
}

void MainView::paintEvent(QPaintEvent *pEvent)
{
    if (!page)
        return;
    // The page is drawn in page pixels; where they are not the screen's
    // (a page from a screen of another size or scale), smoothly scaled.
    const QRegion dirty = toPage(pEvent->region());
    const bool exact = onePerPixel();
    QPainter painter(this);
    painter.save();
    paintBackground(painter, pEvent->region());
    if (!exact) {
        painter.scale(scale, scale);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
    }
    page->paint(&painter, true, QRect());
    if (layerImage && !layerBlank && exact)
        RegionPainter::drawImage(painter, dirty, QPoint(0, 0), *layerImage);
    else if (layerImage && !layerBlank)
        painter.drawImage(QRectF(pageRect()), *layerImage);
    painter.restore();
    painter.save();
    if (!exact)
        painter.scale(scale, scale);
    PresenterKit::instance().paint(&painter, dirty);
    ToolKit::instance().paint(&painter, dirty);
    painter.restore();

    const bool coversWindow = !parentWidget()
        || (width() >= parentWidget()->width() && height() >= parentWidget()->height());
    const bool live = AppState::instance().liveDesktop;
    // A pen piece repaints a few pixels: the label's text is drawn only when
    // they reach it (with its shadow and plate around it).
    const bool labelDirty = pEvent->region().intersects(labelRect().adjusted(-6, -2, 5, 2));
    if (coversWindow) {
        if (!live)
            paintFrame(painter, pEvent->region());
    } else if (!live) {
        painter.setPen(QColor(120, 120, 120));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(0, 0, width() - 1, height() - 1);
    }
    if (labelDirty && (coversWindow || !live))
        paintLabel(painter);
}

void MainView::paintBackground(QPainter &painter, const QRegion &dirty) const
{
    if (AppState::instance().liveDesktop) {
        const bool selecting = ToolKit::instance().currentToolId() == ToolKit::Select;
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        RegionPainter::fill(painter, dirty, QColor(128, 128, 128, selecting ? 0 : 1));
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        return;
    }
    if (page->background == MainPage::ColourBackground) {
        RegionPainter::fill(painter, dirty, page->colour);
    } else if (page->background == MainPage::PictureBackground) {
        const QPixmap &picture = onePerPixel() ? background : fittedBackground();
        const QSize shown = DevicePixels::logicalSize(picture);
        const QPoint origin((width() - shown.width()) / 2, (height() - shown.height()) / 2);
        if (picture.isNull() || origin != QPoint(0, 0) || shown != size())
            RegionPainter::fill(painter, dirty, Qt::white);
        RegionPainter::drawPixmap(painter, dirty, origin, picture);
    }
}

// Scaled once per picture and size: a smooth scale of a whole screen costs
// far more than a repaint may.
const QPixmap &MainView::fittedBackground() const
{
    const qreal ratio = devicePixelRatioF();
    const QSizeF shown = QSizeF(DevicePixels::logicalSize(background)) * scale;
    const QSize device = DevicePixels::size(shown.toSize(), ratio);
    if (background.isNull()) {
        fitted = QPixmap();
    } else if (fittedFrom != background.cacheKey() || fitted.size() != device
               || fitted.devicePixelRatio() != ratio) {
        fitted = background.scaled(device, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        fitted.setDevicePixelRatio(ratio);
        fittedFrom = background.cacheKey();
    }
    return fitted;
}

void MainView::paintFrame(QPainter &painter, const QRegion &dirty) const
{
    const AppState &s = AppState::instance();
    // The twin also on a scaled screen, where it lands pixel for pixel.
    const bool highRes = s.enableTouchUI || logicalDpiX() > 96 || devicePixelRatio() > 1;
    const QImage &frame = frameImage(highRes);
    if (frame.isNull())
        return;
    const int k = qRound(12 * uiScale(this));
    // A pen piece inside the page does not reach the frame.
    if (rect().adjusted(k, k, -k, -k).contains(dirty.boundingRect()))
        return;
    frameStrips.paint(painter, dirty, size(), devicePixelRatio(), k, frame, logicalDpiX() > 96);
}

void MainView::setDocumentName(const QString &strName)
{
    const QRect before = labelRect();
    documentName = strName;
    update(before.united(labelRect()).adjusted(-6, -2, 5, 2));
}

PageLabel::Text MainView::labelText() const
{
    return { pageNumber, int(pages.size()), documentName };
}

QRect MainView::labelRect() const
{
    return label.box(this, labelText(), AppState::instance().enableTouchUI);
}

void MainView::paintLabel(QPainter &painter) const
{
    label.paint(painter, this, labelText(), AppState::instance().enableTouchUI,
                AppState::instance().liveDesktop);
}
