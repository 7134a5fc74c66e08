#include "commandrotateobject.h"

#include "obj.h"
#include "pagehost.h"

CommandRotateObject::CommandRotateObject(PageHost *pHost, float delta, QUndoCommand *pParent)
    : PageCommand(pHost, pParent)
    , delta(delta)
    , objects(pHost->selection())
{
}

void CommandRotateObject::redo()
{
    turn(delta);
}

void CommandRotateObject::undo()
{
    turn(-delta);
}

void CommandRotateObject::turn(float fBy)
{
    for (Obj *obj : std::as_const(objects)) {
        obj->updateFrame(host);
        obj->setAngle(obj->angle + fBy);
        obj->updateFrame(host);
    }
}
