#include "addcommand.h"

#include "mainpage.h"
#include "obj.h"

AddCommand::AddCommand(PageHost *host, Obj *obj, QUndoCommand *parent)
    : LayerCommand(host, parent)
    , m_objects { obj }
{
}

AddCommand::~AddCommand()
{
    qDeleteAll(m_objects);
}

void AddCommand::redo()
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

void AddCommand::undo()
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
