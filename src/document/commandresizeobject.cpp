#include "commandresizeobject.h"

#include "obj.h"
#include "pagehost.h"

CommandResizeObject::CommandResizeObject(PageHost *pHost, const QRectF &oldRect,
                                         const QRectF &newRect, QUndoCommand *pParent)
    : PageCommand(pHost, pParent)
    , oldRect(oldRect)
    , newRect(newRect)
    , objects(pHost->selection())
{
}

void CommandResizeObject::redo()
{
    apply(newRect);
}

void CommandResizeObject::undo()
{
    apply(oldRect);
}

void CommandResizeObject::apply(const QRectF &r)
{
    for (Obj *obj : std::as_const(objects)) {
        obj->updateFrame(host);
        obj->rect = r;
        obj->centre = r.center();
        obj->updateFrame(host);
    }
}
