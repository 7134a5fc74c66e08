#pragma once

#include "pagecommand.h"

#include <QList>

#include <utility>

class Obj;

// Deletes floating objects from the page and the selection. The objects stay
// owned by the commands that added them, lower on the same stack; undo puts
// each back directly before the object that followed it.
class CommandDelObject : public PageCommand
{
public:
    CommandDelObject(PageHost *pHost, const QList<Obj *> &objs, QUndoCommand *pParent = nullptr);
    CommandDelObject(PageHost *pHost, Obj *obj, QUndoCommand *pParent = nullptr);

    void redo() override;
    void undo() override;

private:
    QList<Obj *> objects;
    // Each object the last redo took off the page, with the object that
    // followed it (null when it was last).
    QList<std::pair<Obj *, Obj *>> successors;
};
