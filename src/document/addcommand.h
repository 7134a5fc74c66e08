#pragma once

#include "layercommand.h"

#include <QList>

class Obj;

// Puts an object on top of the page. The command owns the object for its
// whole life, done or undone, and frees it when the stack discards it.
class AddCommand : public LayerCommand
{
public:
    AddCommand(PageHost *pHost, Obj *obj, QUndoCommand *pParent = nullptr);
    ~AddCommand() override;

    void redo() override;
    void undo() override;

private:
    QList<Obj *> objects;
};
