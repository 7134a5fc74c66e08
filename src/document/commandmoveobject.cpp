#include "commandmoveobject.h"

#include "mainpage.h"
#include "obj.h"
#include "pagehost.h"

CommandMoveObject::CommandMoveObject(PageHost *host, const QPointF &offset, QUndoCommand *parent)
    : PageCommand(host, parent)
    , m_offset(offset)
    , m_objects(host->selection())
{
}

void CommandMoveObject::redo()
{
    const QSize pageSize = m_page ? m_page->size : QSize();
    m_applied.clear();
    for (Obj *obj : std::as_const(m_objects)) {
        obj->updateFrame(m_host);
        m_applied.append(obj->moveByClamped(m_offset, pageSize));
        obj->updateFrame(m_host);
    }
}

void CommandMoveObject::undo()
{
    for (qsizetype i = 0; i < m_objects.size() && i < m_applied.size(); ++i) {
        Obj *obj = m_objects.at(i);
        obj->updateFrame(m_host);
        obj->moveBy(-m_applied.at(i));
        obj->updateFrame(m_host);
    }
    m_applied.clear();
}
