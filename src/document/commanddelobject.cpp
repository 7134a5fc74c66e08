#include "commanddelobject.h"

#include "mainpage.h"
#include "obj.h"
#include "pagehost.h"

CommandDelObject::CommandDelObject(PageHost *host, const QList<Obj *> &objs, QUndoCommand *parent)
    : PageCommand(host, parent)
    , m_objects(objs)
{
}

CommandDelObject::CommandDelObject(PageHost *host, Obj *obj, QUndoCommand *parent)
    : CommandDelObject(host, QList<Obj *> { obj }, parent)
{
}

void CommandDelObject::redo()
{
    if (!m_page)
        return;
    for (Obj *obj : std::as_const(m_objects))
        m_host->removeFromSelection(obj);
    m_successors.clear();
    QList<Obj *> &list = m_page->objects;
    for (Obj *obj : std::as_const(m_objects)) {
        const qsizetype index = list.indexOf(obj);
        if (index < 0)
            continue;
        obj->updateFrame(m_host);
        list.removeAt(index);
        Obj *successor = index < list.size() ? list.at(index) : nullptr;
        m_successors.append(std::make_pair(obj, successor));
    }
}

void CommandDelObject::undo()
{
    if (!m_page)
        return;
    for (Obj *obj : std::as_const(m_objects))
        m_host->addToSelection(obj);
    QList<Obj *> &list = m_page->objects;
    // Backwards, so that a successor deleted by this command is back before
    // it is needed. Only what redo took off the page comes back.
    for (auto it = m_successors.crbegin(); it != m_successors.crend(); ++it) {
        const auto [obj, successor] = *it;
        const qsizetype before = successor ? list.indexOf(successor) : -1;
        if (before < 0)
            list.append(obj);
        else
            list.insert(before, obj);
        obj->updateFrame(m_host);
    }
}
