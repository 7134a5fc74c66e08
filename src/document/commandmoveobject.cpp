#include "commandmoveobject.h"

#include "mainpage.h"
#include "obj.h"
#include "pagehost.h"

CommandMoveObject::CommandMoveObject(PageHost *pHost, const QPointF &offset, QUndoCommand *pParent)
    : PageCommand(pHost, pParent)
    , offset(offset)
    , objects(pHost->selection())
{
}

void CommandMoveObject::redo()
{
    const QSize pageSize = page ? page->size : QSize();
    applied.clear();
    for (Obj *obj : std::as_const(objects)) {
        obj->updateFrame(host);
        applied.append(obj->moveByClamped(offset, pageSize));
        obj->updateFrame(host);
    }
}

void CommandMoveObject::undo()
{
    for (qsizetype i = 0; i < objects.size() && i < applied.size(); ++i) {
        Obj *obj = objects.at(i);
        obj->updateFrame(host);
        obj->moveBy(-applied.at(i));
        obj->updateFrame(host);
    }
    applied.clear();
}
