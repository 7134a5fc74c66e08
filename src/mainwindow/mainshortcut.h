#pragma once

#include <QObject>

class MenuBar;
class QAction;
class QShortcut;
class QWidget;

// Keyboard shortcuts of the toolbar window. In desktop mode the main window
// and its menu bar are hidden, so these keys reach the menu actions from the
// toolbar; in drawing mode the toolbar lives inside the main window, whose
// menu actions answer the same keys, so these step aside (two shortcuts on
// one key in one window would be ambiguous and neither would fire).
class MainShortcut : public QObject
{
    Q_OBJECT
public:
    MainShortcut(QWidget *pToolbar, MenuBar *pMenuBar);

    void setActive(bool bActive);
    bool isActive() const { return active; }

public Q_SLOTS:
    void slot_ActionNew();
    void slot_ActionNewFullScreenCapture();
    void slot_ActionOpen();
    void slot_ActionSave();
    void slot_ActionClose();
    void slot_ActionCloseAll();
    void slot_ActionExit();
    void slot_ActionUndo();
    void slot_ActionRedo();
    void slot_ActionClearPage();
    void slot_ActionInsertImage();
    void slot_ActionInsertText();
    void slot_ActionInsertNumber();
    void slot_ActionPageup();
    void slot_ActionPagedown();
    void slot_FloatingDrawToolOptions();
    void slot_ActionDrawTools0();
    void slot_ActionDrawTools1();
    void slot_ActionDrawTools2();
    void slot_ActionDrawTools3();
    void slot_ActionDrawTools4();
    void slot_ActionDrawTools5();
    void slot_ActionDrawTools6();
    void slot_ActionDrawTools7();
    void slot_ActionScreenCapture_Rect();
    void slot_ActionScreenCapture_Freeform();
    void slot_ActionScreenCapture_Window();
    void slot_ActionScreenCapture_PreviousArea();
    void slot_ActionColorPicker();
    void slot_ActionMagnifier();
    void slot_ActionRuler();
    void slot_ActionProtractor();

private:
    template<typename Slot>
    void add(const char *keys, Slot slot);
    // A disabled command does nothing.
    static void trigger(QAction *pAction);

    QWidget *toolbar;
    MenuBar *menu;
    QList<QShortcut *> shortcuts;
    bool active = true;
};
