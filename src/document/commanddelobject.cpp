#include "commanddelobject.h"

#include "mainpage.h"
#include "obj.h"
#include "pagehost.h"

CommandDelObject::CommandDelObject(PageHost *pHost, const QList<Obj *> &objs, QUndoCommand *pParent)
    : PageCommand(pHost, pParent)
    , objects(objs)
{
}

CommandDelObject::CommandDelObject(PageHost *pHost, Obj *obj, QUndoCommand *pParent)
    : CommandDelObject(pHost, QList<Obj *> { obj }, pParent)
{
}

void CommandDelObject::redo()
{
    if (!page)
        return;
    for (Obj *obj : std::as_const(objects))
        host->removeFromSelection(obj);
    successors.clear();
    QList<Obj *> &list = page->objects;
    for (Obj *obj : std::as_const(objects)) {
        const qsizetype index = list.indexOf(obj);
        if (index < 0)
            continue;
        obj->updateFrame(host);
        list.removeAt(index);
        Obj *successor = index < list.size() ? list.at(index) : nullptr;
        successors.append(std::make_pair(obj, successor));
    }
}

void CommandDelObject::undo()
{
    if (!page)
        return;
    for (Obj *obj : std::as_const(objects))
        host->addToSelection(obj);
    QList<Obj *> &list = page->objects;
    // Backwards, so that a successor deleted by this command is back before
    // it is needed. Only what redo took off the page comes back.
    for (auto it = successors.crbegin(); it != successors.crend(); ++it) {
        const auto [obj, successor] = *it;
        const qsizetype before = successor ? list.indexOf(successor) : -1;
        if (before < 0)
            list.append(obj);
        else
            list.insert(before, obj);
        obj->updateFrame(host);
    }
}
