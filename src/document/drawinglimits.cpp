#include "drawinglimits.h"

#include "obj.h"
#include "objectrecord.h"

namespace {

// A text is laid out from its top-left corner, and its rectangle is only as
// wide as its longest line.
QRectF drawnArea(const ObjectRecord &r)
{
    switch (r.kind) {
    case KindSelect:
        return r.path.controlPointRect().united(r.rect.normalized());
    case KindStroke:
        return r.path.controlPointRect();
    case KindEraser: {
        QRectF area;
        for (const QPointF &p : r.points)
            area = area.united(QRectF(p, QSizeF(1, 1)));
        return area;
    }
    case KindLine:
        return QRectF(r.line.p1(), r.line.p2()).normalized();
    case KindText:
        return QRectF(r.rect.topLeft(), QSizeF(1, 1));
    default:
        return r.rect.normalized().united(QRectF(r.centre, QSizeF(1, 1)));
    }
}

} // namespace

bool DrawingLimits::isNearPage(const ObjectRecord &r, const QSizeF &size)
{
    const double reach = MaxReach + qMax(size.width(), size.height());
    const QRectF near = QRectF(QPointF(0, 0), size).adjusted(-reach, -reach, reach, reach);
    // Corners, not rectangles: a line of no length is a rectangle of none.
    const QRectF area = drawnArea(r);
    return near.contains(area.topLeft()) && near.contains(area.bottomRight());
}

void DrawingLimits::startPage()
{
    page = Count();
}

bool DrawingLimits::isPageFull() const
{
    return page.objects >= MaxPageObjects || document.objects >= MaxDocumentObjects;
}

bool DrawingLimits::admit(const ObjectRecord &r)
{
    const qint64 points = r.path.elementCount() + r.points.size();
    const qint64 text = r.html.size();
    if (page.objects + 1 > MaxPageObjects || document.objects + 1 > MaxDocumentObjects
        || page.points + points > MaxPagePoints || document.points + points > MaxDocumentPoints
        || page.text + text > MaxPageText || document.text + text > MaxDocumentText)
        return false;
    for (Count *c : { &page, &document }) {
        c->objects += 1;
        c->points += points;
        c->text += text;
    }
    return true;
}

bool DrawingLimits::admitCharacters(qint64 count)
{
    if (page.characters + count > MaxPageCharacters
        || document.characters + count > MaxDocumentCharacters)
        return false;
    page.characters += count;
    document.characters += count;
    return true;
}
