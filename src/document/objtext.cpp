#include "objtext.h"

#include <QPainter>
#include <QTextDocument>

ObjText::ObjText()
{
    kind = KindText;
}

ObjText::~ObjText()
{
    delete document;
}

void ObjText::setDocument(QTextDocument *doc)
{
    if (doc == document)
        return;
    delete document;
    document = doc;
}

void ObjText::paint(QPainter *p)
{
    if (!document)
        return;
    p->save();
    p->setOpacity(opacity / 100.0);
    p->translate(rect.topLeft());
    document->drawContents(p);
    p->restore();
}

Obj *ObjText::clone() const
{
    ObjText *copy = new ObjText;
    copyTo(copy);
    copy->font = font;
    copy->alignment = alignment;
    if (document)
        copy->setDocument(document->clone());
    return copy;
}
