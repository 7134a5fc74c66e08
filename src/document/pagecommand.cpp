#include "pagecommand.h"

#include "pagehost.h"

PageCommand::PageCommand(PageHost *host, QUndoCommand *parent)
    : QUndoCommand(parent)
    , m_host(host)
    , m_page(host->currentPage())
{
}
