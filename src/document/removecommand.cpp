#include "removecommand.h"

#include "mainpage.h"
#include "obj.h"

RemoveCommand::RemoveCommand(PageHost *pHost, QUndoCommand *pParent)
    : LayerCommand(pHost, pParent)
{
    if (page)
        objects = page->objects;
}

void RemoveCommand::redo()
{
    if (!page)
        return;
    QRect dirty;
    for (Obj *obj : std::as_const(objects)) {
        if (page->objects.removeOne(obj))
            dirty |= obj->paintRect();
    }
    finish(dirty);
}

void RemoveCommand::undo()
{
    if (!page)
        return;
    QRect dirty;
    for (Obj *obj : std::as_const(objects)) {
        dirty |= obj->paintRect();
        page->objects.append(obj);
    }
    finish(dirty);
}
