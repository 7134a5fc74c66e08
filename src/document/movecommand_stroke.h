#pragma once

#include "layercommand.h"

#include <QList>
#include <QPointF>

class Obj;

// Moves a selection object's pixels by an offset (its hole stays in place).
class MoveCommand_Stroke : public LayerCommand
{
public:
    MoveCommand_Stroke(PageHost *pHost, Obj *obj, QPointF offset, QUndoCommand *pParent = nullptr);

    void redo() override;
    void undo() override;

private:
    void move(const QPointF &d);

    QList<Obj *> objects;
    QPointF offset;
};
