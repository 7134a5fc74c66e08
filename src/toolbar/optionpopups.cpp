#include "optionpopups.h"

#include "app/appstate.h"
#include "canvas/toolkit.h"
#include "popupnewpagewidget.h"
#include "popupoppagewidget.h"
#include "popupoptionwidget.h"
#include "popupsavewidget.h"
#include "popuptoolswidget.h"

namespace {

// Panels delete themselves later, so that closing one from its own button
// handler is safe.
void retire(QWidget *pPanel)
{
    if (pPanel)
        pPanel->close();
}

} // namespace

OptionPopups::OptionPopups(QWidget *pHost)
    : QObject(pHost)
    , host(pHost)
{
}

OptionPopups::~OptionPopups()
{
    delete transient.data();
    delete floatingWidget.data();
}

PopupWidget *OptionPopups::popup() const
{
    return transient;
}

PopupOptionWidget *OptionPopups::floating() const
{
    return floatingWidget;
}

void OptionPopups::keepPopup(PopupWidget *pPanel)
{
    retire(transient);
    transient = pPanel;
}

void OptionPopups::openDrawToolOptions(qint8 iPress, bool bIsPopup, QWidget *pAnchor)
{
    if (iPress < 1 || iPress > 4)
        return;
    if (bIsPopup)
        retire(transient);
    else
        retire(floatingWidget);
    if (!PopupOptionWidget::hasOptions(ToolKit::instance().currentToolId()))
        return;
    if (bIsPopup) {
        auto *panel = new PopupOptionWidget(true, pAnchor, host);
        // A change made here shows in the floating widget too.
        connect(panel, &PopupOptionWidget::signal_StrokeChanged, this, [this] {
            if (floatingWidget)
                floatingWidget->refreshStroke();
        });
        keepPopup(panel);
        return;
    }
    floatingWidget = new PopupOptionWidget(false, pAnchor, host, &place);
    connect(floatingWidget, &PopupWidget::signal_FloatingClosed, this,
            &OptionPopups::signal_FloatingClosed);
}

template<class Panel>
void OptionPopups::openCommandPanel(QWidget *pAnchor)
{
    keepPopup(new Panel(pAnchor, host));
}

void OptionPopups::openTools(QWidget *pAnchor)
{
    openCommandPanel<PopupToolsWidget>(pAnchor);
}

void OptionPopups::openSave(QWidget *pAnchor)
{
    openCommandPanel<PopupSaveWidget>(pAnchor);
}

void OptionPopups::openOpPage(QWidget *pAnchor)
{
    openCommandPanel<PopupOpPageWidget>(pAnchor);
}

void OptionPopups::openNewpage(QWidget *pAnchor)
{
    openCommandPanel<PopupNewpageWidget>(pAnchor);
}

void OptionPopups::hidePopup()
{
    retire(transient);
    transient = nullptr;
}

void OptionPopups::deleteFloating()
{
    retire(floatingWidget);
    floatingWidget = nullptr;
}

void OptionPopups::toolChanged(QWidget *pAnchor)
{
    if (AppState::instance().showFloatingOptionWidget)
        openDrawToolOptions(1, false, pAnchor);
}

void OptionPopups::refreshStroke()
{
    if (floatingWidget)
        floatingWidget->refreshStroke();
    if (auto *options = qobject_cast<PopupOptionWidget *>(transient.data()))
        options->refreshStroke();
}

void OptionPopups::retext(QWidget *pAnchor)
{
    hidePopup();
    if (!floatingWidget)
        return;
    const bool visible = floatingWidget->isVisible();
    openDrawToolOptions(1, false, pAnchor);
    setFloatingVisible(visible);
}

bool OptionPopups::focusFloating()
{
    if (!floatingWidget || !floatingWidget->isVisible())
        return false;
    floatingWidget->focusFirstEntry();
    return true;
}

void OptionPopups::setFloatingVisible(bool bVisible)
{
    if (floatingWidget)
        floatingWidget->setVisible(bVisible);
}
