#include "panelhost.h"

#include "popupwidget.h"
#include "widgets/colourdialog.h"

namespace {
PanelHost *s_host = nullptr;
} // namespace

PanelHost::~PanelHost()
{
    uninstall(this);
}

PanelHost *PanelHost::current()
{
    return s_host;
}

void PanelHost::install(PanelHost *pHost)
{
    s_host = pHost;
}

void PanelHost::uninstall(PanelHost *pHost)
{
    if (s_host == pHost)
        s_host = nullptr;
}

bool PanelHost::askColour(QWidget *pFrom, const QColor &start, QColor &chosen)
{
    QWidget *parent = s_host ? s_host->dialogParent() : nullptr;
    return ColourDialog::ask(parent ? parent : pFrom->window(), PopupWidget::transientOf(pFrom),
                             start, chosen);
}
