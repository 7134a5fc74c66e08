#include "pagecommands.h"

#include "browser/browserdlg.h"
#include "canvas/mainview.h"
#include "canvas/toolkit.h"
#include "documentcommands.h"
#include "documentfiles.h"
#include "drawmodeswitch.h"
#include "mainwindow.h"
#include "toolbar/optionpopups.h"
#include "toolselection.h"
#include "widgets/messageboxdialog.h"

PageCommands::PageCommands(MainWindow *pWindow)
    : QObject(pWindow)
    , window(pWindow)
{
}

void PageCommands::newPage()
{
    if (window->isBusy())
        return;
    MainView *view = window->view();
    if (!window->modes()->isDrawMode()) {
        window->RestoreDrawTool();
        view->newPage();
        window->SetDrawMode(true);
    } else {
        view->newPage();
        view->update();
    }
}

void PageCommands::newFullScreenCapture()
{
    if (window->isBusy())
        return;
    window->optionPopups()->hidePopup();
    window->modes()->whenOnDesktop([this] {
        const int last = ToolKit::instance().lastToolId();
        const bool drawing = ToolKit::instance().isDrawingTool(last);
        window->tools()->selectDrawTool(drawing ? last : int(ToolKit::Pen), true);
    });
}

void PageCommands::duplicatePage()
{
    if (window->isBusy())
        return;
    window->optionPopups()->hidePopup();
    const bool fromDesktop = !window->modes()->isDrawMode();
    if (fromDesktop)
        window->RestoreDrawTool();
    window->view()->duplicatePage();
    if (fromDesktop)
        window->SetDrawMode(true);
}

bool PageCommands::reachPage()
{
    if (window->view()->document().pageCount() == 0)
        return false;
    window->modes()->enterFromDesktop();
    return true;
}

void PageCommands::closePage()
{
    if (reachPage()
        && confirm(QStringLiteral("Close current page from document."),
                   QStringLiteral("Do you want to close current page?")))
        window->view()->deletePage();
}

void PageCommands::closeAll()
{
    if (!reachPage()
        || !confirm(QStringLiteral("Close all pages from document."),
                    QStringLiteral("Do you want to close all pages?")))
        return;
    window->modes()->whenOnDesktop([this] {
        window->view()->clearAll(false);
        window->documentFiles()->forgetDocument();
    });
}

void PageCommands::undo()
{
    if (reachPage())
        window->view()->document().undo();
}

void PageCommands::redo()
{
    if (reachPage())
        window->view()->document().redo();
}

void PageCommands::clearPage()
{
    if (reachPage())
        window->view()->clearPage();
}

void PageCommands::pageUp()
{
    if (reachPage())
        gotoPage(window->view()->document().currentPageNumber() - 1);
}

void PageCommands::pageDown()
{
    if (reachPage())
        gotoPage(window->view()->document().currentPageNumber() + 1);
}

void PageCommands::backToLastPage()
{
    if (reachPage())
        window->view()->update();
}

void PageCommands::gotoPage(int iPage)
{
    MainView *view = window->view();
    if (iPage < 1 || iPage > view->document().pageCount())
        return;
    view->document().gotoPage(iPage - 1);
    view->update();
}

void PageCommands::selectOpPage(int iOpPage)
{
    window->optionPopups()->hidePopup();
    if (iOpPage == 0)
        closePage();
    else if (iOpPage == 1)
        closeAll();
    else
        clearPage();
}

void PageCommands::selectSave(int iSave)
{
    window->optionPopups()->hidePopup();
    window->modes()->whenOnDesktop(
        [this, iSave] { window->documentCommands()->SelectSave(iSave); });
}

void PageCommands::browse()
{
    if (window->isBusy())
        return;
    window->optionPopups()->hidePopup();
    BrowserDlg browser(window->view(), window);
    connect(&browser, &BrowserDlg::signal_GotoPage, window, &MainWindow::slot_Browser_GotoPage);
    if (browser.exec() == QDialog::Accepted && window->view()->document().pageCount() > 0)
        window->modes()->enterFromDesktop();
}

bool PageCommands::confirm(const QString &strText, const QString &strInformative)
{
    MessageBoxDialog box(window, strText, strInformative, QMessageBox::Ok | QMessageBox::Cancel);
    return box.exec() == QMessageBox::Ok;
}
