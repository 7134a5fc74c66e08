#include "livezoom.h"

#include "canvas/mainview.h"
#include "canvas/toolkit.h"
#include "document/mainpage.h"
#include "drawmodeswitch.h"
#include "mainwindow.h"
#include "toolselection.h"

#include <QCursor>
#include <QEasingCurve>
#include <QUndoStack>

namespace {
// A frame at 60 Hz.
constexpr int FrameMs = 16;

int indexOfPage(const Document &doc, int id)
{
    const QList<MainPage *> &pages = doc.pageList();
    for (int i = 0; i < pages.size(); ++i) {
        if (pages.at(i)->id == id)
            return i;
    }
    return -1;
}
} // namespace

LiveZoom::LiveZoom(MainWindow *pWindow)
    : QObject(pWindow)
    , window(pWindow)
{
    animation.setDuration(AnimationMs);
    animation.setEasingCurve(QEasingCurve::OutCubic);
    connect(&animation, &QVariantAnimation::valueChanged, this, &LiveZoom::step);
    MainView *view = window->view();
    Document &doc = view->document();
    connect(window->modes(), &DrawModeSwitch::captureEnded, this, &LiveZoom::captured);
    connect(window->modes(), &DrawModeSwitch::drawModeChanged, this, [this](bool bDrawing) {
        if (!bDrawing) {
            finish();
            releasePicture();
        }
    });
    // The switch hands the view its live desktop itself.
    connect(window->modes(), &DrawModeSwitch::liveDesktopChanged, this,
            [this] { picturePageId = 0; });
    connect(window->tools(), &ToolSelection::drawToolChosen, this, &LiveZoom::stopFollowing);
    connect(&doc, &Document::currentPageChanged, this,
            [this](MainPage *page) { pageChanged(page); });
    connect(&doc, &Document::pageDiscarded, this, [this](int id) {
        if (id == pageId)
            finish();
    });
    connect(&doc, &Document::undoStateChanged, this, [this] {
        const MainPage *page = livePage();
        if (page && page->undoStack->count() > 0)
            stopFollowing();
    });
    // A wheel turned or a zoom command given while the animation runs takes over.
    connect(view, &MainView::zoomChanged, this, [this] {
        if (!stepping)
            animation.stop();
    });
}

void LiveZoom::toggle()
{
    if (state == State::Zoomed) {
        end();
        return;
    }
    if (state == State::Capturing || window->isBusy())
        return;
    window->modes()->whenOnDesktop([this] { capture(); });
}

// The way a drawing tool chosen on the desktop starts: its capture delay,
// the wait for the desktop's picture (a portal's), the page.
void LiveZoom::capture()
{
    if (window->isBusy())
        return;
    const MainPage *before = window->view()->currentPage();
    returnPageId = before ? before->id : 0;
    state = State::Capturing;
    const ToolKit &kit = ToolKit::instance();
    const int last = kit.lastToolId();
    window->tools()->selectDrawTool(kit.isDrawingTool(last) ? last : int(ToolKit::Pen), true);
}

void LiveZoom::captured(bool bCaptured)
{
    if (state != State::Capturing)
        return;
    MainView *view = window->view();
    if (!bCaptured || !view->currentPage()) {
        state = State::Off;
        return;
    }
    state = State::Zoomed;
    pageId = view->currentPage()->id;
    showPicture();
    view->setFollowPointer(true);
    const qreal fitted = view->zoom();
    animation.setStartValue(fitted);
    animation.setEndValue(fitted * Magnification);
    animation.start();
    // The desktop itself was the fitted frame: the page's first paint is
    // already a step in.
    animation.setCurrentTime(FrameMs);
}

void LiveZoom::step(const QVariant &scale)
{
    if (!livePage()) {
        animation.stop();
        return;
    }
    stepping = true;
    window->view()->zoomTo(scale.toReal(), pointerInWindow());
    stepping = false;
}

QPointF LiveZoom::pointerInWindow() const
{
    const QPointF pointer = window->mapFromGlobal(QCursor::pos());
    const QRectF area = window->rect();
    return area.contains(pointer) ? pointer : area.center();
}

// The live zoom's page while it is the current one.
MainPage *LiveZoom::livePage() const
{
    MainPage *page = window->view()->currentPage();
    return state == State::Zoomed && page && page->id == pageId ? page : nullptr;
}

void LiveZoom::stopFollowing()
{
    if (state == State::Zoomed)
        window->view()->setFollowPointer(false);
}

void LiveZoom::end()
{
    MainPage *page = livePage();
    if (!page)
        return;
    finish();
    if (page->undoStack->count() > 0) {
        // What was drawn stays, on the whole page.
        window->view()->zoomToFit();
        return;
    }
    releasePicture();
    const int gone = page->id;
    const int back = returnPageId;
    window->modes()->whenOnDesktop([this, gone, back] { deletePage(gone, back); });
}

// Stopped before anything can delete the page under the animation.
void LiveZoom::finish()
{
    animation.stop();
    if (state == State::Zoomed)
        window->view()->setFollowPointer(false);
    if (state != State::Capturing)
        state = State::Off;
    pageId = 0;
}

void LiveZoom::showPicture()
{
    MainView *view = window->view();
    if (!view->isLiveDesktop())
        return;
    picturePageId = pageId;
    view->setLiveDesktop(false);
}

void LiveZoom::releasePicture()
{
    if (picturePageId == 0)
        return;
    picturePageId = 0;
    window->view()->setLiveDesktop(window->modes()->isLiveDesktop());
}

void LiveZoom::pageChanged(const MainPage *page)
{
    const int id = page ? page->id : 0;
    if (state == State::Zoomed && id != pageId)
        finish();
    if (picturePageId != 0 && id != picturePageId)
        releasePicture();
}

// On the desktop: the page goes, and the page current before it comes back.
void LiveZoom::deletePage(int id, int returnId)
{
    Document &doc = window->view()->document();
    const int index = indexOfPage(doc, id);
    if (index < 0)
        return;
    doc.gotoPage(index);
    doc.deleteCurrentPage();
    const int back = indexOfPage(doc, returnId);
    if (back >= 0)
        doc.gotoPage(back);
}
