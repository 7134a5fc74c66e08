#pragma once

#include "backgroundcache.h"

#include <QList>
#include <QPixmap>

class MainPage;

// The current page's picture, decoded (or rendered from its PDF page), with
// the pictures of the page just left and of the current page's neighbours
// kept ready for page switches, and the picture scaled to the screen's
// pixels where they differ.
class PageBackground
{
public:
    // The page shows a picture of its own or a PDF page.
    static bool showsPicture(const MainPage *page);
    const QPixmap &picture() const { return shown; }
    // A new picture for `page`; it is written to the page's file by a worker
    // while the page is already shown.
    void set(MainPage *page, const QPixmap &picture);
    // Writes the picture to a file of `pageId`, e.g. for a copy of the page.
    void writeFile(int pageId) const;
    // Shows `page`'s picture; the page left keeps its picture `left` decoded.
    void show(const MainPage *page, int leftId, const QPixmap &left);
    // Takes the picture away from the page that is left.
    QPixmap leave() { return std::exchange(shown, QPixmap()); }
    // Decodes (or renders) the neighbours of the page at `number` (from 1) ahead.
    void decodeNeighbours(const QList<MainPage *> &pages, int number);
    void forget(int pageId) { cache.forget(pageId); }
    // A page's picture decoded elsewhere, to show without decoding its file.
    void keep(int pageId, const QPixmap &picture) { cache.keep(pageId, picture); }
    void clear();
    bool isDecodingAhead() const { return cache.isDecoding(); }
    // Tells, by its `decoded` signal, when a picture arrives.
    const BackgroundCache *arrivals() const { return &cache; }
    // Takes the arrived picture of `pageId` when the page shown waits for
    // it; true when the picture shown changed.
    bool arrive(int pageId);
    // The picture scaled to `device` pixels at `ratio`, once per picture and size.
    const QPixmap &fitted(const QSize &device, qreal ratio) const;

private:
    void showPicture(const MainPage *page, int leftId, const QPixmap &left);
    void showPdf(const MainPage *page, int leftId, const QPixmap &left);

    QPixmap shown;
    int waitingFor = 0; // the page shown, while its PDF page renders
    qreal waitingRatio = 1.0;
    BackgroundCache cache;
    mutable QPixmap scaled;
    mutable qint64 scaledFrom = 0;
};
