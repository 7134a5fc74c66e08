#pragma once

#include "layercommand.h"

#include <QList>

class Obj;

// Puts an object on top of the page. The command owns the object for its
// whole life, done or undone, and frees it when the stack discards it.
class AddCommand : public LayerCommand
{
public:
    AddCommand(PageHost *host, Obj *obj, QUndoCommand *parent = nullptr);
    ~AddCommand() override;

    void redo() override;
    void undo() override;

private:
    QList<Obj *> m_objects;
};
