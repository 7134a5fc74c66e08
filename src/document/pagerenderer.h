#pragma once

#include "documentsnapshot.h"

#include <QImage>

class QPainter;

class MainPage;

// Renders pages on any thread. The GUI thread copies out what a page looks
// like (shared paths and pixels, so the copy is cheap); a worker then paints
// that copy while the live page goes on changing. The pictures are those of
// the canvas: the full page, or its drawings alone over transparency.
class PageRenderer
{
public:
    // GUI thread only. A picture object's record carries its pixels in
    // `image`, so that no worker touches the object's pixmap.
    static PageRecord snapshot(MainPage *page);
    static QList<PageRecord> snapshot(const QList<MainPage *> &pages);

    // Unscaled pictures have the page's own pixels; a scaled one is the
    // page's logical size times `factor`.
    static QImage renderPage(const PageRecord &page, bool bScaled = false, float factor = 1.0f);
    static QImage renderObjects(const PageRecord &page, bool bScaled = false, float factor = 1.0f);
    // The same for a live page, on the GUI thread; null for no page.
    static QImage renderPage(MainPage *page, bool bScaled = false, float factor = 1.0f);
    static QImage renderObjects(MainPage *page, bool bScaled = false, float factor = 1.0f);

    // The floating objects, or the layer objects, in the page's logical
    // coordinates; a vector device keeps them vectors.
    static void paintObjects(QPainter *p, const PageRecord &page, bool bFloating);
};
