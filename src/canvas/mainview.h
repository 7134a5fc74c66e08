#pragma once

#include "backgroundcache.h"
#include "framestrips.h"
#include "pagelabel.h"
#include "toolhost.h"
#include "viewtransform.h"

#include <QCursor>
#include <QImage>
#include <QList>
#include <QPixmap>
#include <QWidget>

#include <memory>

class MainPage;
class Obj;
class QSinglePointEvent;
class QUndoCommand;

// The drawing surface: shows the current page, owns the document's pages,
// hands mouse and stylus input to the tool kit and keeps the layer, an image
// of the current page's layer objects, so that a repaint costs one copy.
// Sized to the page and centred in the main window; a page larger than the
// window (made on a larger screen, since gone) is shown whole, smaller.
class MainView : public QWidget, public ToolHost
{
    Q_OBJECT
public:
    explicit MainView(QWidget *pParent = nullptr);
    ~MainView() override;

    // Page list. Every operation but movePage first resets the current tool.
    QSize newPage();
    void duplicatePage();
    // Takes `added` after the current page; the first of them becomes
    // current, as a document is read from its start.
    void addPages(const QList<MainPage *> &added);
    int deletePage();
    bool gotoPage(int index);
    void movePage(int from, int to);
    void clearAll(bool bCreateNew);
    void clearPage();
    bool pushCommand(QUndoCommand *command) override;
    bool undo();
    bool redo();

    int pageCount() const { return int(pages.size()); }
    int currentPageNumber() const { return pageNumber; }
    const QList<MainPage *> &pageList() const { return pages; }
    Obj *objectAt(const QPointF &point) const override;
    QList<Obj *> pageObjects() const;
    bool isAnyPageModified() const;
    void setAllPagesModified(bool bModified);
    bool canUndo() const;
    bool canRedo() const;

    // Background and layer.
    void setBackground(const QPixmap &picture);
    void saveBackground();
    // Shows the current page's picture; the page left keeps `left` decoded.
    void loadBackground(int leftId, const QPixmap &left);
    // Whoever asks for the layer may draw into it: it is painted from then on.
    QImage *layer() const override
    {
        layerBlank = false;
        return layerImage.get();
    }
    // Where the "n | m" page label is drawn.
    QRect labelRect() const;
    // Shown before the page numbers in the label; empty for none.
    void setDocumentName(const QString &strName);
    QPixmap backgroundPicture() const { return background; }
    // Whether neighbours of the current page are being decoded ahead.
    bool isDecodingAhead() const { return backgrounds.isDecoding(); }

    // Rendering of any page, for export and thumbnails.
    QImage renderPage(MainPage *page, bool bScaled = false, float factor = 1.0f) const;
    QImage renderObjects(MainPage *page, bool bScaled = false, float factor = 1.0f) const;

    // Screen pictures. A rectangle of the desktop's device pixels (see
    // NativeCoordinates), null when a screen it touches gives no picture; a
    // whole screen, the one at a global point or the one in use.
    QPixmap grabDesktopRect(const QRect &device) const;
    QPixmap grabScreen(const QPoint &point, bool bAtPoint) const;

    void fitToWindow(const QSize &window);
    // How much smaller than its own size the page is shown: 1 unless it is
    // larger than its window. Tools work in page pixels all the same.
    qreal pageScale() const { return shown.scale(); }
    QRect pageRect() const { return shown.pageRect(); }
    // Between page pixels and the view's.
    QPointF toView(const QPointF &pagePoint) const { return shown.toView(pagePoint); }
    QPointF toPage(const QPointF &viewPoint) const { return shown.toPage(viewPoint); }
    QRect toView(const QRect &pageRect) const { return shown.toView(pageRect); }
    // Paints a rectangle of the page at once.
    void repaintNow(const QRect &pageRect) override;
    // Schedules a repaint of a region of the page.
    void repaint(const QRegion &pageRegion) override;
    void updatePageCommands();
    void updateUndoCommands();

    // The cross cursor of the drawing tools, built once per scale.
    void setDrawCursor() override;

    // PageHost
    MainPage *currentPage() const override { return page; }
    void updateObjectCache(MainPage *pPage, const QRect &rect) override;
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
    QRect placement() const override { return geometry(); }
    QSize windowSize() const override { return parentWidget() ? parentWidget()->size() : QSize(); }
    void place(const QPoint &topLeft) override { move(topLeft); }
    QWidget *widget() override { return this; }

Q_SIGNALS:
    // Which page commands apply now: a page exists, a previous and a next one.
    void signal_PageCommands(bool bHasPage, bool bHasPrevious, bool bHasNext);
    void signal_UndoCommands(bool bCanUndo, bool bCanRedo);

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
    // Where the pointer of an event lies on the page, to the device pixel.
    QPointF pointOf(const QSinglePointEvent *pEvent) const;
    void makeCurrent(MainPage *pPage, int number);
    void writeBackgroundFile(int pageId) const;
    void discardPage(MainPage *pPage);
    void decodeNeighbours();
    // Whether the page's pictures land one for one on the screen's pixels.
    bool onePerPixel() const;
    void paintBackground(QPainter &painter, const QRegion &dirty) const;
    const QPixmap &fittedBackground() const;
    void paintFrame(QPainter &painter, const QRegion &dirty) const;
    void paintLabel(QPainter &painter) const;
    PageLabel::Text labelText() const;

    bool rightDrag = false;
    QString documentName;
    PageLabel label;
    QPixmap background;
    // The background smoothly scaled to the screen's pixels, when they differ.
    mutable QPixmap fitted;
    mutable qint64 fittedFrom = 0;
    ViewTransform shown;
    BackgroundCache backgrounds;
    mutable FrameStrips frameStrips;
    std::unique_ptr<QImage> layerImage;
    // Fully transparent: a repaint need not blend it.
    mutable bool layerBlank = false;
    int pageNumber = 0;
    MainPage *page = nullptr;
    QList<MainPage *> pages;
    int stylusDown = 0;
    int savedToolId = 0;
    QCursor drawCursor;
    double drawCursorScale = 0;
    bool drawCursorShown = false;
    bool settingDrawCursor = false;
};
