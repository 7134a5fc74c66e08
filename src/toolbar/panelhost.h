#pragma once

#include <QColor>
#include <QString>

class QWidget;

// What the toolbar's panels ask of the program above them: the commands they
// trigger and the little they need to know. The main window installs one;
// with none installed (a panel on its own) the commands do nothing.
class PanelHost
{
public:
    // The commands a panel's entries trigger, as the menus name them.
    enum Command { NewFullScreenCapture, DuplicatePage, OpenPictures };

    virtual ~PanelHost();

    static PanelHost *current();
    static void install(PanelHost *pHost);
    static void uninstall(PanelHost *pHost);

    // Asks for a colour for the panel holding pFrom, over the program's window.
    static bool askColour(QWidget *pFrom, const QColor &start, QColor &chosen);

    virtual QWidget *dialogParent() = 0;
    // The menu's name for drawing tool iTool, without its mnemonic.
    virtual QString toolTitle(int iTool) = 0;
    virtual bool hasPreviousArea() = 0;

    virtual void selectTools(int iTools) = 0;
    virtual void selectOpPage(int iOpPage) = 0;
    virtual void selectSave(int iSave) = 0;
    virtual void run(Command command) = 0;
    virtual void changeDrawToolWidth(int iWidth) = 0;
    virtual void changeDrawToolColor(const QColor &colour) = 0;
    virtual void changeNewpageColor(const QColor &colour) = 0;
    // The width dial shows the current tool's width within its range.
    virtual void showDial(int iValue, int iMinimum, int iMaximum) = 0;
};
