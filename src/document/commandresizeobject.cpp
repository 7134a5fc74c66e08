#include "commandresizeobject.h"

#include "obj.h"
#include "pagehost.h"

CommandResizeObject::CommandResizeObject(PageHost *host, const QRectF &oldRect,
                                         const QRectF &newRect, QUndoCommand *parent)
    : PageCommand(host, parent)
    , m_oldRect(oldRect)
    , m_newRect(newRect)
    , m_objects(host->selection())
{
}

void CommandResizeObject::redo()
{
    apply(m_newRect);
}

void CommandResizeObject::undo()
{
    apply(m_oldRect);
}

void CommandResizeObject::apply(const QRectF &r)
{
    for (Obj *obj : std::as_const(m_objects)) {
        obj->updateFrame(m_host);
        obj->rect = r;
        obj->centre = r.center();
        obj->updateFrame(m_host);
    }
}
