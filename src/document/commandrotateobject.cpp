#include "commandrotateobject.h"

#include "obj.h"
#include "pagehost.h"

CommandRotateObject::CommandRotateObject(PageHost *host, float delta, QUndoCommand *parent)
    : PageCommand(host, parent)
    , m_delta(delta)
    , m_objects(host->selection())
{
}

void CommandRotateObject::redo()
{
    turn(m_delta);
}

void CommandRotateObject::undo()
{
    turn(-m_delta);
}

void CommandRotateObject::turn(float delta)
{
    for (Obj *obj : std::as_const(m_objects)) {
        obj->updateFrame(m_host);
        obj->setAngle(obj->angle + delta);
        obj->updateFrame(m_host);
    }
}
