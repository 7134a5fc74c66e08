#include "addcommand.h"

#include "mainpage.h"
#include "obj.h"

AddCommand::AddCommand(PageHost *pHost, Obj *obj, QUndoCommand *pParent)
    : LayerCommand(pHost, pParent)
    , objects { obj }
{
}

AddCommand::~AddCommand()
{
    qDeleteAll(objects);
}

void AddCommand::redo()
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

void AddCommand::undo()
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
