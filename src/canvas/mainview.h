#pragma once

#include "document/document.h"
#include "drawcursor.h"
#include "framestrips.h"
#include "layercache.h"
#include "layerpatches.h"
#include "pagebackground.h"
#include "pagelabel.h"
#include "pagezoom.h"
#include "toolhost.h"
#include "viewtransform.h"
#include "zoominput.h"
#include "zoomlayer.h"

#include <QCursor>
#include <QHash>
#include <QImage>
#include <QList>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

#include <memory>

class MainPage;
class Obj;
class QSinglePointEvent;
class QUndoCommand;

// The drawing surface: shows the document's current page, hands mouse and
// stylus input to the tool kit and keeps the layer, an image of the current
// page's layer objects, so that a repaint costs one copy. A page starts
// fitted: whole and centred in the main window, smaller where it is larger
// than the window (made on a larger screen, since gone). Each page keeps its
// own zoom and position; the canvas covers the part of the window the page
// covers, and where the page is not shown one for one the layer is drawn
// again at the zoom for the part on screen.
class MainView : public QWidget, public ToolHost
{
    Q_OBJECT
public:
    explicit MainView(QWidget *pParent = nullptr);
    ~MainView() override;

    Document &document() { return doc; }
    const Document &document() const { return doc; }

    // Page commands that need the screen or the view: a page of the screen's
    // size, a copy of the current page with its picture, and the document
    // never left without a page.
    QSize newPage();
    void duplicatePage();
    int deletePage();
    void clearAll(bool bCreateNew);
    void clearPage();
    bool pushCommand(QUndoCommand *command) override;
    Obj *objectAt(const QPointF &point) const override;

    // Background and layer.
    void setBackground(const QPixmap &picture);
    const QImage *layer() const override { return layerImage.get(); }
    void paintLayer(const std::function<void(QPainter &)> &paint) override;
    // Where the "n | m" page label is drawn.
    QRect labelRect() const;
    // Over a live desktop the page is see-through and shows no frame.
    // Pages of a document still coming in, told after the page numbers.
    void setPagesLoading(int pages);
    // The picture of a page, decoded already where the page was read.
    void keepBackground(const MainPage *page, QImage picture);
    void setLiveDesktop(bool bLive);
    // Zoom and pan are refused over a live desktop.
    bool isLiveDesktop() const { return liveDesktop; }
    QPixmap backgroundPicture() const { return background.picture(); }
    // Whether neighbours of the current page, or the undo of the last push,
    // are being decoded or rendered ahead.
    bool isDecodingAhead() const
    {
        return background.isDecodingAhead() || layers.isRendering() || patches.isRendering();
    }

    // Places the canvas in a window of `window` for the current page's zoom.
    void fitToWindow(const QSize &window);
    // How much smaller or larger than its own size the page is shown. Tools
    // work in page pixels all the same.
    qreal pageScale() const { return shown.scale(); }

    // Zoom: the current page's scale on screen, 1 at 100 %.
    static constexpr qreal minimumZoom = PageZoom::minimum;
    static constexpr qreal maximumZoom = PageZoom::maximum;
    qreal zoom() const { return shown.scale(); }
    bool isFitted() const;
    // Zooms to `scale` keeping the page point under `anchor` (the window's
    // coordinates) where it is.
    void zoomTo(qreal scale, const QPointF &anchor);
    // A step of the ladder in or out, around the pointer when it is over
    // the window, else around the centre.
    void zoomIn();
    void zoomOut();
    void zoomToFit();
    void zoomToActual();
    // Moves the page by `delta` window pixels, as far as it overflows.
    void panBy(const QPointF &delta) override;
    // Puts `pagePoint` under `windowPoint`, as far as the page overflows.
    void showPagePoint(const QPointF &pagePoint, const QPointF &windowPoint);
    // Live zoom: the wheel zooms and the pointer, moving without a button,
    // takes the view to the same place of the page as of the window.
    void setFollowPointer(bool bOn) { followPointer = bOn; }
    bool isFollowingPointer() const { return followPointer; }
    // Zoom steps are coming: the layer is shown scaled until they stop.
    bool isZoomSettling() const { return settling.isActive(); }
    // Space held turns a drag into a pan; the window hands its keys here.
    bool panKey(QKeyEvent *pEvent) { return zoomInput.key(pEvent); }
    // A finger's touch, handed to the tools as the mouse.
    void handMouse(QMouseEvent *pEvent);
    QRect pageRect() const { return shown.pageRect(); }
    // Between page pixels and the view's.
    QPointF toView(const QPointF &pagePoint) const { return shown.toView(pagePoint); }
    QPointF toPage(const QPointF &viewPoint) const { return shown.toPage(viewPoint); }
    QRect toView(const QRect &pageRect) const { return shown.toView(pageRect); }
    // Paints a rectangle of the page at once.
    void repaintNow(const QRect &pageRect) override;
    // Schedules a repaint of a region of the page.
    void repaint(const QRegion &pageRegion) override;

    // The cross cursor of the drawing tools, built once per scale.
    void setDrawCursor() override { drawCursor.showOn(this); }

    // PageHost
    MainPage *currentPage() const override { return doc.currentPage(); }
    void updateObjectCache(MainPage *pPage, const QRect &rect) override;
    void updateForHistoryStep(MainPage *pPage, const QRect &rect,
                              const QUndoCommand *step) override;
    void repaint(const QRect &rect) override;
    QList<Obj *> selection() const override;
    void addToSelection(Obj *obj) override;
    void removeFromSelection(Obj *obj) override;

    // ToolHost
    void repaintAll() override { update(); }
    ViewTransform transform() const override { return shown; }
    qreal deviceRatio() const override { return devicePixelRatioF(); }
    void showCursor(const QCursor &shape) override { setCursor(shape); }
    Qt::CursorShape cursorShape() const override { return cursor().shape(); }
    QWidget *widget() override { return this; }

Q_SIGNALS:
    // Which page commands apply now: a page exists, a previous and a next one.
    void signal_PageCommands(bool bHasPage, bool bHasPrevious, bool bHasNext);
    void signal_UndoCommands(bool bCanUndo, bool bCanRedo);
    void zoomChanged(qreal zoom);
    void liveDesktopChanged(bool bLive);

protected:
    bool event(QEvent *pEvent) override;
    void mousePressEvent(QMouseEvent *pEvent) override;
    void mouseMoveEvent(QMouseEvent *pEvent) override;
    void mouseReleaseEvent(QMouseEvent *pEvent) override;
    void mouseDoubleClickEvent(QMouseEvent *pEvent) override;
    void tabletEvent(QTabletEvent *pEvent) override;
    void wheelEvent(QWheelEvent *pEvent) override;
    void paintEvent(QPaintEvent *pEvent) override;

private:
    void announcePageNumbers();
    // Where the window the canvas is placed in lies, and its size.
    QSize windowArea() const;
    QPointF zoomAnchor() const;
    // Places the canvas again after a change of zoom or position.
    void relayout();
    // The layer drawn again at the zoom, in the screen's pixels; false while
    // zoom steps follow each other, when the page's layer is shown scaled
    // until they settle.
    bool sharpLayer() const;
    void paintLayerImage(QPainter &painter, const QRegion &dirty) const;
    void paintScaledBackground(QPainter &painter, const QRegion &dirty,
                               const QPixmap &picture) const;
    // Where the pointer of an event lies on the page, to the device pixel.
    QPointF pointOf(const QSinglePointEvent *pEvent) const;
    void showPage(MainPage *pPage, MainPage *left);
    void showLayer(MainPage *page, MainPage *left);
    QList<const MainPage *> neighbours() const;
    void updatePageCommands();
    // Whether the page's pictures land one for one on the screen's pixels.
    bool onePerPixel() const;
    void paintBackground(QPainter &painter, const QRegion &dirty) const;
    const QPixmap &fittedBackground() const;
    void paintLabel(QPainter &painter) const;
    PageLabel::Text labelText() const;

    bool rightDrag = false;
    bool liveDesktop = false;
    PageLabel label;
    QString loadingText; // "%1 still loading" in the user's language
    int pagesLoading = 0;
    PageBackground background;
    ViewTransform shown;
    QHash<int, PageZoom> zooms; // by page id
    mutable ZoomLayer zoomLayer;
    // Runs while zoom steps come; the layer is drawn sharp once it stops.
    QTimer settling;
    ZoomInput zoomInput;
    bool followPointer = false;
    mutable FrameStrips frameStrips;
    std::unique_ptr<QImage> layerImage;
    // Fully transparent: a repaint need not blend it.
    mutable bool layerBlank = false;
    // Exactly what a render of the page gives: no tool has painted into it
    // since it was last rendered whole.
    mutable bool layerRendered = false;
    LayerCache layers;
    LayerPatches patches;
    int stylusDown = 0;
    int savedToolId = 0;
    DrawCursor drawCursor;
    // Last, so that it goes first: its pages' commands still see the view.
    Document doc;
};
