#include "removecommand.h"

#include "mainpage.h"
#include "obj.h"

RemoveCommand::RemoveCommand(PageHost *host, QUndoCommand *parent)
    : LayerCommand(host, parent)
{
    if (m_page)
        m_objects = m_page->objects;
}

void RemoveCommand::redo()
{
    if (!m_page)
        return;
    QRect dirty;
    for (Obj *obj : std::as_const(m_objects)) {
        if (m_page->objects.removeOne(obj))
            dirty |= obj->paintRect();
    }
    finish(dirty);
}

void RemoveCommand::undo()
{
    if (!m_page)
        return;
    QRect dirty;
    for (Obj *obj : std::as_const(m_objects)) {
        dirty |= obj->paintRect();
        m_page->objects.append(obj);
    }
    finish(dirty);
}
