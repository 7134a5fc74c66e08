#pragma once

#include "toolbar/panelhost.h"

class MainWindow;

// Answers the toolbar's panels with the main window's commands.
class PanelRequests : public PanelHost
{
public:
    explicit PanelRequests(MainWindow *pWindow);

    QWidget *dialogParent() override;
    QString toolTitle(int iTool) override;
    bool hasPreviousArea() override;
    void selectTools(int iTools) override;
    void selectOpPage(int iOpPage) override;
    void selectSave(int iSave) override;
    void run(Command command) override;
    void changeDrawToolWidth(int iWidth) override;
    void changeDrawToolColor(const QColor &colour) override;
    void changeNewpageColor(const QColor &colour) override;
    void showDial(int iValue, int iMinimum, int iMaximum) override;

private:
    MainWindow *window;
};
