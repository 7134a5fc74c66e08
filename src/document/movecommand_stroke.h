#pragma once

#include "layercommand.h"

#include <QList>
#include <QPointF>

class Obj;

// Moves a selection object's pixels by an offset (its hole stays in place).
class MoveCommand_Stroke : public LayerCommand
{
public:
    MoveCommand_Stroke(PageHost *host, Obj *obj, QPointF offset, QUndoCommand *parent = nullptr);

    void redo() override;
    void undo() override;

private:
    void move(const QPointF &d);

    QList<Obj *> m_objects;
    QPointF m_offset;
};
