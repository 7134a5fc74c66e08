#pragma once

#include "layercommand.h"

#include <QList>

class Obj;

// Clears the page. Holds the page's objects without owning them; undo puts
// them back in their former order.
class RemoveCommand : public LayerCommand
{
public:
    explicit RemoveCommand(PageHost *pHost, QUndoCommand *pParent = nullptr);

    void redo() override;
    void undo() override;

private:
    QList<Obj *> objects;
};
