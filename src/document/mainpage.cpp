#include "mainpage.h"

#include "app/appstate.h"
#include "obj.h"

#include <QImage>
#include <QPainter>
#include <QUndoStack>

int MainPage::s_lastId = 0;

MainPage::MainPage(const QSize &pageSize, bool flag)
    : id(++s_lastId)
    , size(pageSize)
    , pixelSize(pageSize)
    , colour(AppState::instance().draw.newpageColor)
    , undoStack(new QUndoStack)
    , displayFlag(flag)
{
    connect(undoStack, &QUndoStack::indexChanged, this, [this] {
        modified = true;
        ++revision;
    });
}

MainPage::~MainPage()
{
    // The stack goes first: its add commands free the objects they own.
    delete undoStack;
    qDeleteAll(owned);
}

void MainPage::appendObjects(const QList<Obj *> &source, bool copy)
{
    for (Obj *obj : source) {
        Obj *added = copy ? obj->clone() : obj;
        objects.append(added);
        owned.append(added);
    }
}

MainPage *MainPage::clone() const
{
    MainPage *copy = new MainPage(size, displayFlag);
    copy->setPixels(pixelSize, pixelRatio);
    copy->modified = modified;
    copy->background = background;
    copy->colour = colour;
    copy->pdf = pdf;
    copy->pdfPage = pdfPage;
    copy->appendObjects(objects, true);
    return copy;
}

void MainPage::setPixels(const QSize &pixels, qreal ratio)
{
    pixelSize = pixels;
    pixelRatio = ratio;
}

void MainPage::paint(QPainter *p, bool floatingOnly, const QRect &clip) const
{
    p->save();
    const bool everything = !clip.isValid();
    for (Obj *obj : objects) {
        if (floatingOnly != obj->isFloating())
            continue;
        if (floatingOnly || everything || obj->paintRect().intersects(clip))
            obj->paint(p);
    }
    p->restore();
}

void MainPage::renderLayer(QImage *layer, const QRect &rect) const
{
    QPainter p(layer);
    if (!rect.isValid()) {
        layer->fill(Qt::transparent);
        paint(&p, false, rect);
        return;
    }
    p.setClipRect(rect);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.fillRect(rect, Qt::transparent);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    paint(&p, false, rect);
}

QString MainPage::backgroundFile(int pageId)
{
    return QStringLiteral("%1page%2.png").arg(AppState::instance().tempFolder).arg(pageId);
}

int MainPage::nextId()
{
    return s_lastId + 1;
}
