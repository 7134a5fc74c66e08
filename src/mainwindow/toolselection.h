#pragma once

#include <QColor>
#include <QObject>

class MainWindow;

// The current tool and its settings as the toolbar, the menus and the option
// panels show them: choosing a tool, the mouse (which ends drawing), and the
// width, colour and opacity of the current tool.
class ToolSelection : public QObject
{
    Q_OBJECT
public:
    explicit ToolSelection(MainWindow *pWindow);

    // In desktop mode a drawing tool starts on a fresh capture of the screen;
    // bMustChangeDrawMode false only switches the tool.
    void selectDrawTool(int iTool, bool bMustChangeDrawMode);
    void selectMouse(bool bGotoDrawMode);
    // Chooses the last drawing tool again without changing modes.
    void restoreDrawTool();
    void changeWidth(int iWidth);
    void changeColour(const QColor &colour);
    void changeOpacity(int iOpacity);

Q_SIGNALS:
    // A drawing tool was chosen, from the desktop or on a page.
    void drawToolChosen(int iTool);

private:
    void showTool(int iTool);
    void updateDial();

    MainWindow *window;
};
