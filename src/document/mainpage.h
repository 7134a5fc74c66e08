#pragma once

#include <QColor>
#include <QList>
#include <QObject>
#include <QRect>
#include <QSize>

#include <memory>

class Obj;
class PdfSource;
class QImage;
class QPainter;
class QUndoStack;

// One sheet of the document. The page owns its undo stack (whose add commands
// own the objects drawn by tools) and the objects in `owned` (those copied in
// with a page copy). Pages have no parent; the canvas deletes them.
class MainPage : public QObject
{
public:
    enum Background { ColourBackground = 0, PictureBackground = 1, PdfBackground = 2 };

    MainPage(const QSize &size, bool displayFlag);
    ~MainPage() override;

    int id; // unique for the run, never reused
    bool modified = true;
    // Grows with every push, undo and redo: a copy of the objects taken at
    // one revision holds until the next.
    quint64 revision = 1;
    QSize size; // logical pixels, what tools and the user measure in
    // The page's pixels: a page made on a scaled screen holds that screen's
    // device pixels, so that its picture and drawings stay sharp.
    qreal pixelRatio = 1.0;
    QSize pixelSize;
    int background = ColourBackground;
    QColor colour;
    // A PdfBackground's page: which page of which PDF, rendered to fit the
    // page's pixels.
    std::shared_ptr<PdfSource> pdf;
    int pdfPage = -1;
    QList<Obj *> objects; // painting order: first painted first
    QList<Obj *> owned;
    QUndoStack *undoStack; // owned; every push, undo and redo marks the page modified
    bool displayFlag;

    // Appends each object of `source`, or its clone, to `objects` and hands
    // it to the page, which deletes it with itself.
    void appendObjects(const QList<Obj *> &source, bool copy);
    void setPixels(const QSize &pixels, qreal ratio);
    // A new page of the same size with copies of all objects and no history.
    MainPage *clone() const;
    // Paints the floating objects, or the layer objects whose paintRect
    // intersects `clip` (all of them when `clip` is invalid).
    void paint(QPainter *p, bool floatingOnly, const QRect &clip) const;
    // Brings `layer`, a transparent image of the page's size, up to date
    // inside `rect`, or wholly when `rect` is invalid.
    void renderLayer(QImage *layer, const QRect &rect) const;

    // The file holding the picture background of a page with id `pageId`.
    static QString backgroundFile(int pageId);
    // The id the next page will receive.
    static int nextId();

private:
    static int s_lastId;
};
