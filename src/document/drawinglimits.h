#pragma once

#include <QSizeF>

struct ObjectRecord;

// How much drawing a document may bring in, page by page and in all. A hand
// with the drawing tools makes a few thousand objects on a busy page; a file
// from elsewhere may hold millions, each of which costs memory and time
// every time its page is drawn. What passes the limits is left out, so that
// the drawing that came first still opens.
class DrawingLimits
{
public:
    static constexpr int MaxPageObjects = 20000;
    static constexpr int MaxDocumentObjects = 100000;
    // Path elements and eraser points.
    static constexpr qint64 MaxPagePoints = 1 << 19;
    static constexpr qint64 MaxDocumentPoints = 1 << 22;
    // The markup of a page's text objects, which costs to parse, and the
    // characters it holds, which cost to lay out whenever the page shows.
    static constexpr qint64 MaxPageText = 1 << 20;
    static constexpr qint64 MaxDocumentText = 1 << 24;
    static constexpr qint64 MaxPageCharacters = 50000;
    static constexpr qint64 MaxDocumentCharacters = 1000000;

    // Whether everything `r` draws lies near a page of `size`: as far out
    // as a pointer reaches past a page's edge while the page is shown, and
    // never so far that a dashed outline takes seconds to draw.
    static bool isNearPage(const ObjectRecord &r, const QSizeF &size);
    // Past the page's own size, beyond each edge: the widest desktop.
    static constexpr double MaxReach = 16384;

    void startPage();
    // No object at all fits any more on this page.
    bool isPageFull() const;
    // Whether `r` still fits; it is counted when it does.
    bool admit(const ObjectRecord &r);
    // Whether a text of `count` characters still fits, once parsed.
    bool admitCharacters(qint64 count);

private:
    struct Count
    {
        qint64 objects = 0;
        qint64 points = 0;
        qint64 text = 0;
        qint64 characters = 0;
    };
    Count page;
    Count document;
};
