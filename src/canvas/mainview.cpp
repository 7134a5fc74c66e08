#include "mainview.h"

#include "app/appstate.h"
#include "app/devicepixels.h"
#include "app/exactpointer.h"
#include "app/lang.h"
#include "app/screeninuse.h"
#include "app/settledannouncement.h"
#include "document/mainpage.h"
#include "document/obj.h"
#include "document/removecommand.h"
#include "dragtool.h"
#include "presenterkit.h"
#include "regionpainter.h"
#include "selecttool.h"
#include "tool.h"
#include "toolkit.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QNativeGestureEvent>
#include <QPainter>
#include <QScreen>
#include <QTabletEvent>
#include <QTouchEvent>
#include <QUndoStack>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {

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

// Patches for undo and redo up to the pixels of a full-HD layer.
// A reader speaks the canvas's name when it changes: "Page 2 of 5" after each
// turn of the page, once paging pauses.
void MainView::announcePageNumbers()
{
    auto *announcement = new SettledAnnouncement(
        this,
        [this] {
            if (doc.pageCount() == 0)
                return QString();
            return Lang::single("Accessible", QStringLiteral("Page %1 of %2"))
                .arg(doc.currentPageNumber())
                .arg(doc.pageCount());
        },
        150);
    connect(&doc, &Document::currentPageChanged, announcement, &SettledAnnouncement::changed);
    connect(&doc, &Document::pagesChanged, announcement, &SettledAnnouncement::changed);
    announcement->changed();
}

MainView::MainView(QWidget *pParent)
    : QWidget(pParent)
    , zoomInput(this)
    , patches(qint64(1920) * 1080 * 4)
{
    setAttribute(Qt::WA_StaticContents);
    setAttribute(Qt::WA_AcceptTouchEvents);
    setMouseTracking(true);
    // Wheel notches come about 30 ms apart: a pause of a few is the end.
    settling.setSingleShot(true);
    settling.setInterval(120);
    connect(&settling, &QTimer::timeout, this, [this] { update(); });
    ExactPointer::watch();
    // A tool's gesture must not outlive the objects and pages it points at.
    connect(&doc, &Document::aboutToChange, this, [] { ToolKit::instance().resetTool(); });
    connect(&doc, &Document::currentPageChanged, this, &MainView::showPage);
    connect(&doc, &Document::pagesChanged, this, &MainView::updatePageCommands);
    // Pages that come in after the current one (a load in slices) are its
    // new neighbours.
    connect(&doc, &Document::pagesChanged, this,
            [this] { background.decodeNeighbours(doc.pageList(), doc.currentPageNumber()); });
    connect(background.arrivals(), &BackgroundCache::decoded, this, [this](int id) {
        if (background.arrive(id))
            update();
    });
    connect(&doc, &Document::undoStateChanged, this, &MainView::signal_UndoCommands);
    connect(&doc, &Document::pageDiscarded, this, [this](int id) {
        background.forget(id);
        layers.forget(id);
        zooms.remove(id);
    });
    connect(&doc, &Document::nameChanged, this, [this] { update(); });
    announcePageNumbers();
}

MainView::~MainView()
{
    ToolKit::instance().resetTool();
    disconnect(&doc, nullptr, this, nullptr);
}

QSize MainView::newPage()
{
    QScreen *screen = ScreenInUse::screen();
    auto *created = new MainPage(screen ? screen->size() : QSize(800, 600), false);
    const qreal ratio = screen ? screen->devicePixelRatio() : 1.0;
    created->setPixels(DevicePixels::size(created->size, ratio), ratio);
    doc.addPages({ created });
    return created->size;
}

void MainView::duplicatePage()
{
    MainPage *page = currentPage();
    if (!page) {
        updatePageCommands();
        return;
    }
    // The copy shows the same picture from a file of its own.
    if (page->background == MainPage::PictureBackground)
        background.writeFile(MainPage::nextId());
    doc.addPages({ page->clone() });
}

int MainView::deletePage()
{
    const int deleted = doc.deleteCurrentPage();
    if (doc.pageCount() > 0)
        return deleted;
    if (deleted > 0)
        newPage();
    return 0;
}

void MainView::clearAll(bool bCreateNew)
{
    doc.clear();
    zooms.clear();
    layerImage.reset();
    background.clear();
    layers.clear();
    patches.clear();
    if (bCreateNew)
        newPage();
}

void MainView::clearPage()
{
    MainPage *page = currentPage();
    if (!page || page->objects.isEmpty())
        return;
    // A selection must not outlive the objects it points at.
    ToolKit::instance().resetTool();
    // The push leaves the layer to us: rebuild it whole.
    if (pushCommand(new RemoveCommand(this)))
        updateObjectCache(page, QRect());
}

// Objects laid over the page get the undo of their push rendered ahead. A
// push drops the commands that could be redone: their patches go with them.
bool MainView::pushCommand(QUndoCommand *command)
{
    MainPage *page = currentPage();
    const QList<Obj *> below = page ? page->objects : QList<Obj *>();
    QList<const QUndoCommand *> dropped;
    for (int i = page ? page->undoStack->index() : 0; page && i < page->undoStack->count(); ++i)
        dropped.append(page->undoStack->command(i));
    if (!doc.pushCommand(command))
        return false;
    patches.forget(dropped);
    if (page != currentPage() || page->objects.size() <= below.size()
        || !std::equal(below.cbegin(), below.cend(), page->objects.cbegin()))
        return true;
    QRect laid;
    for (auto it = page->objects.cbegin() + below.size(); it != page->objects.cend(); ++it) {
        if (!(*it)->isFloating())
            laid |= (*it)->paintRect();
    }
    if (!laid.isEmpty())
        patches.renderBelow(page, command, below, laid);
    return true;
}

Obj *MainView::objectAt(const QPointF &point) const
{
    const MainPage *page = currentPage();
    if (!page)
        return nullptr;
    for (auto it = page->objects.crbegin(); it != page->objects.crend(); ++it) {
        if ((*it)->hitTest(point, false) != 0)
            return *it;
    }
    return nullptr;
}

void MainView::setBackground(const QPixmap &picture)
{
    MainPage *page = currentPage();
    if (!page)
        return;
    background.set(page, picture);
    // A grab of a screen at a fractional ratio can be a device pixel off the
    // size rounded from the page's logical size; the page takes the grab's.
    const QSize off = picture.size() - page->pixelSize;
    if (!picture.isNull() && qFuzzyCompare(picture.devicePixelRatio(), page->pixelRatio)
        && off != QSize(0, 0) && qAbs(off.width()) <= 1 && qAbs(off.height()) <= 1) {
        page->setPixels(picture.size(), page->pixelRatio);
        updateObjectCache(page, QRect());
    }
    update();
}

void MainView::showPage(MainPage *pPage, MainPage *left)
{
    const qreal zoomBefore = zoom();
    zoomLayer.drop();
    settling.stop();
    if (parentWidget())
        fitToWindow(parentWidget()->size());
    if (zoom() != zoomBefore)
        Q_EMIT zoomChanged(zoom());
    QPixmap leftPicture;
    if (left && left != pPage && PageBackground::showsPicture(left))
        leftPicture = background.leave();
    PresenterKit::instance().pageChanged();
    patches.clear();
    background.show(pPage, left ? left->id : 0, leftPicture);
    showLayer(pPage, left);
    update();
    background.decodeNeighbours(doc.pageList(), doc.currentPageNumber());
    layers.renderAhead(neighbours());
}

// The page shown takes its kept layer, if any, before the layer of the page
// left is kept (while it is exactly what a render of that page gives), so
// that it does not push out a neighbour's. Without a kept layer the page is
// rendered into memory that a layer no longer needs: a fresh image costs page
// faults.
void MainView::showLayer(MainPage *page, MainPage *left)
{
    std::unique_ptr<QImage> kept = page ? layers.take(page) : nullptr;
    std::unique_ptr<QImage> spare;
    if (left && left != page && layerImage && layerRendered && !layerBlank)
        spare = layers.keep(left, std::move(layerImage));
    else
        spare = std::move(layerImage);
    if (kept) {
        layerImage = std::move(kept);
        layerBlank = false;
        layerRendered = true;
        return;
    }
    layerImage = std::move(spare);
    updateObjectCache(page, QRect());
}

QList<const MainPage *> MainView::neighbours() const
{
    QList<const MainPage *> found;
    const QList<MainPage *> &pages = doc.pageList();
    for (int index : { doc.currentPageNumber(), doc.currentPageNumber() - 2 }) {
        if (index >= 0 && index < pages.size())
            found.append(pages.at(index));
    }
    return found;
}

void MainView::updateObjectCache(MainPage *pPage, const QRect &rect)
{
    MainPage *page = currentPage();
    if (!pPage || pPage != page)
        return;
    if (rect.isValid() && layerImage) {
        page->renderLayer(layerImage.get(), rect);
        layerBlank = false;
        if (zoomLayer.matches(shown, size(), devicePixelRatioF()))
            zoomLayer.update(page, toView(rect));
        update(toView(rect));
        return;
    }
    zoomLayer.drop();
    const bool blank = !LayerCache::hasLayerObjects(page);
    layerRendered = true;
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

// A patch saved or rendered ahead spares painting again every object that
// crosses the rectangle; the pixels left are kept for the step back. While
// the stack undoes or redoes a command, its index has not moved yet.
void MainView::updateForHistoryStep(MainPage *pPage, const QRect &rect, const QUndoCommand *step)
{
    if (!pPage || pPage != currentPage() || !layerImage || !rect.isValid())
        return updateObjectCache(pPage, rect);
    const int index = pPage->undoStack->index();
    const bool undo = index > 0 && pPage->undoStack->command(index - 1) == step;
    const bool redo = pPage->undoStack->command(index) == step;
    if (!(undo || redo) || !patches.step(pPage, step, undo, rect, layerImage.get(), layerRendered))
        return updateObjectCache(pPage, rect);
    layerBlank = false;
    if (zoomLayer.matches(shown, size(), devicePixelRatioF()))
        zoomLayer.update(pPage, toView(rect));
    update(toView(rect));
}

void MainView::repaint(const QRect &rect)
{
    update(toView(rect));
}

void MainView::repaint(const QRegion &pageRegion)
{
    if (shown.isIdentity()) {
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

// Without a page the view covers the window.
void MainView::fitToWindow(const QSize &window)
{
    const MainPage *page = currentPage();
    if (!page) {
        shown = ViewTransform(1, window);
        setFixedSize(window);
        move(0, 0);
        return;
    }
    const PageZoom::Placement placed = zooms.value(page->id).place(page->size, window);
    const QRect onWindow = QRectF(placed.topLeft, QSizeF(placed.shownSize)).toAlignedRect()
        & QRect(QPoint(0, 0), window);
    shown = ViewTransform(placed.scale, page->size, placed.topLeft - QPointF(onWindow.topLeft()));
    setFixedSize(onWindow.size());
    move(onWindow.topLeft());
}

QSize MainView::windowArea() const
{
    return parentWidget() ? parentWidget()->size() : size();
}

bool MainView::isFitted() const
{
    const MainPage *page = currentPage();
    return !page || zooms.value(page->id).isFitted();
}

void MainView::zoomTo(qreal scale, const QPointF &anchor)
{
    MainPage *page = currentPage();
    // A gesture under way keeps the view it began in: its ink is in the
    // layer but not yet on the page.
    if (!page || liveDesktop || ToolKit::instance().currentTool()->gesture().active)
        return;
    const qreal before = zoom();
    zooms[page->id].zoomTo(scale, anchor, page->size, windowArea());
    relayout();
    if (zoom() != before) {
        settling.start();
        Q_EMIT zoomChanged(zoom());
        update(labelRect().adjusted(-6, -2, 5, 2));
    }
}

QPointF MainView::zoomAnchor() const
{
    const QSize window = windowArea();
    const QPointF pointer = parentWidget() ? parentWidget()->mapFromGlobal(QCursor::pos())
                                           : mapFromGlobal(QCursor::pos());
    return QRectF(QPointF(0, 0), window).contains(pointer)
        ? pointer
        : QPointF(window.width(), window.height()) / 2;
}

void MainView::zoomIn()
{
    zoomTo(PageZoom::stepped(zoom(), 1), zoomAnchor());
}

void MainView::zoomOut()
{
    zoomTo(PageZoom::stepped(zoom(), -1), zoomAnchor());
}

void MainView::zoomToActual()
{
    zoomTo(1, zoomAnchor());
}

void MainView::zoomToFit()
{
    MainPage *page = currentPage();
    if (!page || zooms.value(page->id).isFitted())
        return;
    zooms[page->id].fit();
    relayout();
    settling.start();
    Q_EMIT zoomChanged(zoom());
}

void MainView::panBy(const QPointF &delta)
{
    MainPage *page = currentPage();
    if (!page || liveDesktop || ToolKit::instance().currentTool()->gesture().active)
        return;
    zooms[page->id].panBy(delta, page->size, windowArea());
    relayout();
}

void MainView::showPagePoint(const QPointF &pagePoint, const QPointF &windowPoint)
{
    MainPage *page = currentPage();
    if (!page || liveDesktop)
        return;
    zooms[page->id].show(pagePoint, windowPoint, page->size, windowArea());
    relayout();
}

void MainView::relayout()
{
    const ViewTransform before = shown;
    const QRect placedBefore = geometry();
    fitToWindow(windowArea());
    if (shown == before && geometry() == placedBefore)
        return;
    ToolKit::instance().currentTool()->viewMoved(this);
    update();
}

bool MainView::onePerPixel() const
{
    return shown.isIdentity() && currentPage()
        && qFuzzyCompare(currentPage()->pixelRatio, devicePixelRatioF());
}

void MainView::updatePageCommands()
{
    if (parentWidget())
        fitToWindow(parentWidget()->size());
    const int number = doc.currentPageNumber();
    Q_EMIT signal_PageCommands(number > 0, number >= 2, number < doc.pageCount());
    update();
}

bool MainView::event(QEvent *pEvent)
{
    switch (pEvent->type()) {
    case QEvent::CursorChange:
        drawCursor.changed();
        break;
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:
        if (zoomInput.touch(static_cast<QTouchEvent *>(pEvent)))
            return true;
        break;
    case QEvent::NativeGesture:
        if (zoomInput.nativeGesture(static_cast<QNativeGestureEvent *>(pEvent)))
            return true;
        break;
    default:
        break;
    }
    return QWidget::event(pEvent);
}

QPointF MainView::pointOf(const QSinglePointEvent *pEvent) const
{
    return toPage(snapToDevice(DevicePixels::position(this, pEvent), devicePixelRatio()));
}

void MainView::handMouse(QMouseEvent *pEvent)
{
    switch (pEvent->type()) {
    case QEvent::MouseButtonPress:
        return mousePressEvent(pEvent);
    case QEvent::MouseButtonRelease:
        return mouseReleaseEvent(pEvent);
    default:
        return mouseMoveEvent(pEvent);
    }
}

void MainView::mousePressEvent(QMouseEvent *pEvent)
{
    if (stylusDown || zoomInput.press(pEvent))
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
    if (stylusDown || zoomInput.move(pEvent))
        return;
    if (followPointer && pEvent->buttons() == Qt::NoButton && currentPage()) {
        // The pointer's place in the window is the same place of the page.
        const QSizeF window = windowArea();
        const QPointF at = pEvent->position() + QPointF(pos());
        const QSizeF page = currentPage()->size;
        showPagePoint(QPointF(at.x() / window.width() * page.width(),
                              at.y() / window.height() * page.height()),
                      at);
    }
    const QPointF point = pointOf(pEvent);
    if (rightDrag)
        ToolKit::instance().dragTool()->mouseMove(this, point, pEvent);
    else
        ToolKit::instance().mouseMove(this, point, pEvent);
}

void MainView::mouseReleaseEvent(QMouseEvent *pEvent)
{
    if (stylusDown || zoomInput.release(pEvent))
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
    const bool zooming = followPointer || pEvent->modifiers().testFlag(Qt::ControlModifier);
    if (!zooming && ToolKit::instance().wheel(this, pEvent))
        return;
    if (!zoomInput.wheel(pEvent, followPointer))
        QWidget::wheelEvent(pEvent);
}

void MainView::paintEvent(QPaintEvent *pEvent)
{
    const MainPage *page = currentPage();
    if (!page)
        return;
    // The page is drawn in page pixels; where they are not the screen's (a
    // zoom, or a page from a screen of another size or scale), the
    // background smoothly scaled and the layer drawn again at the zoom.
    const QRegion dirty = shown.toPage(pEvent->region());
    const bool exact = onePerPixel();
    QPainter painter(this);
    painter.save();
    paintBackground(painter, pEvent->region());
    if (!exact) {
        painter.translate(shown.origin());
        painter.scale(shown.scale(), shown.scale());
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
    }
    page->paint(&painter, true, QRect());
    painter.restore();
    paintLayerImage(painter, pEvent->region());
    painter.save();
    if (!exact) {
        painter.translate(shown.origin());
        painter.scale(shown.scale(), shown.scale());
    }
    PresenterKit::instance().paint(&painter, dirty);
    ToolKit::instance().paint(&painter, dirty);
    painter.restore();

    const bool coversWindow = !parentWidget()
        || (width() >= parentWidget()->width() && height() >= parentWidget()->height());
    const bool live = liveDesktop;
    // A pen piece repaints a few pixels: the label's text is drawn only when
    // they reach it (with its shadow and plate around it).
    const bool labelDirty = pEvent->region().intersects(labelRect().adjusted(-6, -2, 5, 2));
    if (coversWindow) {
        if (!live)
            frameStrips.paintAround(painter, this, pEvent->region(),
                                    AppState::instance().enableTouchUI);
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
    if (liveDesktop) {
        const bool selecting = ToolKit::instance().currentToolId() == ToolKit::Select;
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        RegionPainter::fill(painter, dirty, QColor(128, 128, 128, selecting ? 0 : 1));
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        return;
    }
    const MainPage *page = currentPage();
    if (page->background == MainPage::ColourBackground) {
        RegionPainter::fill(painter, dirty, page->colour);
    } else if (PageBackground::showsPicture(page) && (shown.scale() > 1 || settling.isActive())) {
        paintScaledBackground(painter, dirty, background.picture());
    } else if (PageBackground::showsPicture(page)) {
        const QPixmap &picture = onePerPixel() ? background.picture() : fittedBackground();
        const QSize offset = shown.shownSize() - DevicePixels::logicalSize(picture);
        const QPoint origin
            = shown.origin().toPoint() + QPoint(offset.width() / 2, offset.height() / 2);
        if (picture.isNull() || origin != QPoint(0, 0)
            || DevicePixels::logicalSize(picture) != size())
            RegionPainter::fill(painter, dirty, Qt::white);
        RegionPainter::drawPixmap(painter, dirty, origin, picture);
    }
}

// Above 100 %, and at every step while zoom steps come (a fitted copy made
// for each would cost a frame), only the part on screen is scaled from the
// picture itself; smoothly once the steps have settled (smoothing a full
// screen costs a frame's time, too much for every step of an animation).
void MainView::paintScaledBackground(QPainter &painter, const QRegion &dirty,
                                     const QPixmap &picture) const
{
    const QSize pictureSize = DevicePixels::logicalSize(picture);
    if (picture.isNull() || pictureSize != currentPage()->size)
        RegionPainter::fill(painter, dirty, Qt::white);
    painter.save();
    painter.setClipRegion(dirty);
    painter.translate(shown.origin());
    painter.scale(shown.scale(), shown.scale());
    painter.setRenderHint(QPainter::SmoothPixmapTransform, !settling.isActive());
    // Whole pixels, as the page is placed when shown one for one.
    const QSize offset = currentPage()->size - pictureSize;
    const QPoint corner(offset.width() / 2, offset.height() / 2);
    painter.drawPixmap(QRectF(QPointF(corner), QSizeF(pictureSize)), picture,
                       QRectF(picture.rect()));
    painter.restore();
}

// A page shown one for one has its layer copied; a zoomed one has the layer
// drawn again at the zoom, or while zoom steps come, the page's layer scaled.
void MainView::paintLayerImage(QPainter &painter, const QRegion &dirty) const
{
    if (!layerImage || layerBlank)
        return;
    if (onePerPixel())
        return RegionPainter::drawImage(painter, dirty, QPoint(0, 0), *layerImage);
    if (sharpLayer())
        return RegionPainter::drawImage(painter, dirty, QPoint(0, 0), zoomLayer.picture());
    painter.save();
    painter.setClipRegion(dirty);
    painter.translate(shown.origin());
    painter.scale(shown.scale(), shown.scale());
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRectF(pageRect()), *layerImage);
    painter.restore();
}

bool MainView::sharpLayer() const
{
    const qreal ratio = devicePixelRatioF();
    if (zoomLayer.matches(shown, size(), ratio))
        return true;
    // A zoom step back to the layer's scale may have moved the page far:
    // its strips could cost a whole render, too much for a step.
    if (settling.isActive())
        return false;
    if (zoomLayer.follow(currentPage(), shown, size(), ratio))
        return true;
    zoomLayer.render(currentPage(), shown, size(), ratio);
    return true;
}

void MainView::paintLayer(const std::function<void(QPainter &)> &paint)
{
    if (!layerImage)
        return;
    layerBlank = false;
    layerRendered = false;
    {
        QPainter painter(layerImage.get());
        paint(painter);
    }
    if (onePerPixel())
        return;
    if (!zoomLayer.matches(shown, size(), devicePixelRatioF())) {
        // What the layer held before this paint, drawn sharp first.
        settling.stop();
        zoomLayer.render(currentPage(), shown, size(), devicePixelRatioF());
    }
    zoomLayer.paint(paint);
}

// The background smoothly scaled to the screen's pixels, when they differ.
const QPixmap &MainView::fittedBackground() const
{
    const qreal ratio = devicePixelRatioF();
    const QSizeF onView = QSizeF(DevicePixels::logicalSize(background.picture())) * shown.scale();
    return background.fitted(DevicePixels::size(onView.toSize(), ratio), ratio);
}

// Over a live desktop the ink must lie over what it was drawn on: fitted.
void MainView::setLiveDesktop(bool bLive)
{
    if (bLive && !isFitted())
        zoomToFit();
    const bool changed = liveDesktop != bLive;
    liveDesktop = bLive;
    update();
    if (changed)
        Q_EMIT liveDesktopChanged(bLive);
}

void MainView::keepBackground(const MainPage *page, QImage picture)
{
    QPixmap shown = QPixmap::fromImage(std::move(picture));
    shown.setDevicePixelRatio(page->pixelRatio);
    background.keep(page->id, shown);
}

void MainView::setPagesLoading(int pages)
{
    if (pages == pagesLoading)
        return;
    if (loadingText.isEmpty())
        loadingText = Lang::single("MainWindow", QStringLiteral("%1 still loading"));
    const QRect before = labelRect();
    pagesLoading = pages;
    update(before.united(labelRect()).adjusted(-6, -2, 5, 2));
}

PageLabel::Text MainView::labelText() const
{
    return { doc.currentPageNumber(), doc.pageCount(), doc.name(),
             pagesLoading > 0 ? loadingText.arg(pagesLoading) : QString(),
             int(std::lround(zoom() * 100)) };
}

QRect MainView::labelRect() const
{
    return label.box(this, labelText(), AppState::instance().enableTouchUI);
}

void MainView::paintLabel(QPainter &painter) const
{
    label.paint(painter, this, labelText(), AppState::instance().enableTouchUI, liveDesktop);
}
