#pragma once

#include "pagecommand.h"

#include <QList>
#include <QPointF>

class Obj;

// Moves the selected floating objects, each kept reachable on the page. Undo
// takes back exactly the offset each one was given.
class CommandMoveObject : public PageCommand
{
public:
    CommandMoveObject(PageHost *host, const QPointF &offset, QUndoCommand *parent = nullptr);

    void redo() override;
    void undo() override;

private:
    QPointF m_offset;
    QList<Obj *> m_objects;
    QList<QPointF> m_applied;
};
