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
    CommandMoveObject(PageHost *pHost, const QPointF &offset, QUndoCommand *pParent = nullptr);

    void redo() override;
    void undo() override;

private:
    QPointF offset;
    QList<Obj *> objects;
    QList<QPointF> applied;
};
