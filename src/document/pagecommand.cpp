#include "pagecommand.h"

#include "pagehost.h"

PageCommand::PageCommand(PageHost *pHost, QUndoCommand *pParent)
    : QUndoCommand(pParent)
    , host(pHost)
    , page(pHost->currentPage())
{
}
