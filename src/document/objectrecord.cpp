#include "objectrecord.h"

#include "imagestatic.h"
#include "imagesvg.h"
#include "objeraser.h"
#include "objline.h"
#include "objselect.h"
#include "objshape.h"
#include "objstroke.h"
#include "objtext.h"
#include "sealedtextdocument.h"
#include "textcheck.h"

#include <QTextDocument>
#include <QTextOption>

namespace {

void takeDetails(ObjectRecord &r, const Obj *obj)
{
    switch (obj->kind) {
    case KindSelect: {
        const auto *s = static_cast<const ObjSelect *>(obj);
        r.path = s->path;
        if (s->image)
            r.image = *s->image;
        break;
    }
    case KindStroke: {
        const auto *s = static_cast<const ObjStroke *>(obj);
        r.variant = s->strokeKind;
        r.path = s->path;
        r.pressures = s->pressures;
        break;
    }
    case KindEraser:
        r.points = static_cast<const ObjEraser *>(obj)->points;
        break;
    case KindLine: {
        const auto *l = static_cast<const ObjLine *>(obj);
        r.line = l->line;
        r.startCap = l->startCap;
        r.endCap = l->endCap;
        r.penStyle = l->penStyle;
        break;
    }
    case KindShape: {
        const auto *s = static_cast<const ObjShape *>(obj);
        r.variant = s->shapeType;
        r.penStyle = s->penStyle;
        r.fill = s->fill;
        break;
    }
    case KindText: {
        const auto *t = static_cast<const ObjText *>(obj);
        r.font = t->font.toString();
        r.alignment = t->alignment;
        if (t->document) {
            r.html = t->document->toHtml();
            r.textWidth = t->document->textWidth();
            r.margin = t->document->documentMargin();
        }
        break;
    }
    case KindImageStatic:
    case KindImageSVG:
        r.file = static_cast<const ObjImage *>(obj)->path;
        break;
    default:
        break;
    }
}

Obj *createText(const ObjectRecord &r)
{
    if (!TextCheck::isSimpleMarkup(r.html))
        return nullptr;
    auto *text = new ObjText;
    text->font.fromString(r.font);
    text->alignment = r.alignment;
    auto *doc = new SealedTextDocument;
    doc->setDefaultFont(text->font);
    doc->setDocumentMargin(r.margin);
    // Text is typed into an editor that never wraps; its width only places
    // aligned lines, and a width of 0 would otherwise break after every word.
    QTextOption option = doc->defaultTextOption();
    option.setWrapMode(QTextOption::NoWrap);
    doc->setDefaultTextOption(option);
    doc->setTextWidth(r.textWidth);
    doc->setHtml(r.html);
    if (!TextCheck::isSimpleDocument(*doc)) {
        delete doc;
        delete text;
        return nullptr;
    }
    text->setDocument(doc);
    return text;
}

Obj *createShell(const ObjectRecord &r, const QString &pictureFile)
{
    switch (r.kind) {
    case KindSelect: {
        auto *s = new ObjSelect;
        s->path = r.path;
        if (!r.image.isNull())
            s->setImage(new QImage(r.image));
        return s;
    }
    case KindStroke: {
        auto *s = new ObjStroke;
        s->strokeKind = r.variant;
        s->path = r.path;
        s->pressures = r.pressures;
        return s;
    }
    case KindEraser: {
        auto *e = new ObjEraser;
        e->points = r.points;
        return e;
    }
    case KindLine: {
        auto *l = new ObjLine;
        l->line = r.line;
        l->startCap = r.startCap;
        l->endCap = r.endCap;
        l->penStyle = r.penStyle;
        return l;
    }
    case KindShape: {
        auto *s = new ObjShape;
        s->shapeType = r.variant;
        s->penStyle = r.penStyle;
        s->fill = r.fill;
        return s;
    }
    case KindText:
        return createText(r);
    case KindImageStatic:
    case KindImageSVG: {
        ObjImage *image
            = r.kind == KindImageSVG ? static_cast<ObjImage *>(new ImageSVG) : new ImageStatic;
        image->load(pictureFile);
        return image;
    }
    default:
        return nullptr;
    }
}

} // namespace

ObjectRecord ObjectRecord::of(const Obj *obj)
{
    ObjectRecord r;
    r.kind = obj->kind;
    r.rect = obj->rect;
    r.angle = obj->angle;
    r.centre = obj->centre;
    r.width = obj->width;
    r.colour = obj->colour;
    r.opacity = obj->opacity;
    r.shadow = obj->shadow;
    r.resizable = obj->resizable;
    takeDetails(r, obj);
    return r;
}

Obj *ObjectRecord::create(const QString &pictureFile) const
{
    Obj *obj = createShell(*this, pictureFile);
    if (!obj)
        return nullptr;
    // The order of Obj::copyTo: a rotation turns about the rectangle's centre
    // before the stored centre is put back.
    obj->rect = rect;
    obj->centre = rect.center();
    obj->setAngle(angle);
    obj->centre = centre;
    obj->width = width;
    obj->colour = colour;
    obj->opacity = opacity;
    obj->shadow = shadow;
    obj->resizable = resizable;
    return obj;
}

bool ObjectRecord::isPicture() const
{
    return kind == KindImageStatic || kind == KindImageSVG;
}
