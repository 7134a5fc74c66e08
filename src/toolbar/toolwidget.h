#pragma once

#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QStringList>

class CloseBtn;
class MenuBtn;
class MinBtn;
class PlaceKeeper;
class QAbstractButton;
class QDial;
class QMenu;
class QPainter;
class QScreen;
class ToolCentralWidget;
class ToolGridWidget;
class ToolOptionWidget;
class ToolbarKeys;
class ToolWidgetBtn;
class ToolWidgetBtn_Option;

// The floating toolbar: a small frameless window that stays on top, through
// which the user picks tools and page commands. Its buttons only announce
// press kinds; the owner connects them to the commands. The user drags it
// by any spot that is not a button; it keeps itself on its screen (on its
// parent while it is a child window) and tracks which half of the screen it
// is in, which decides where popups open. It can fold to its title strip.
class ToolWidget : public QMainWindow
{
    Q_OBJECT
public:
    static constexpr int ButtonCount = 18;
    // Indices of button(): the tool of id n has the button n + 2.
    enum Button {
        Undo,
        Redo,
        Mouse,
        Select,
        Pen,
        Highlighter,
        Eraser,
        Line,
        Shape,
        Text,
        NewPage,
        ClearPage,
        PageUp,
        PageDown,
        Browser,
        LiveDesktop,
        Save,
        Tools
    };

    explicit ToolWidget(QWidget *pParent = nullptr);

    ToolWidgetBtn *button(int index) const;
    // The index of pButton among button(), -1 for any other button.
    int indexOf(const ToolWidgetBtn *pButton) const;
    // What pButton does, for screen readers, where its name does not say it.
    QString description(const ToolWidgetBtn *pButton) const;
    ToolWidgetBtn_Option *optionButton() const;
    QDial *dial() const;
    QAbstractButton *closeButton() const;

    // Marks the button of the current tool (index 2 to 9); the quick colours
    // work only for tools that draw in a colour.
    void setCurrentToolButton(int index);
    void setDial(int value, int min, int max);
    void setOptionColour(const QColor &colour);
    // Moves to point when the toolbar fits there on the current screen,
    // otherwise to the screen's left edge, vertically centred.
    void moveToolbar(const QPoint &point);
    // Moves to a global top-left, in whichever window holds the toolbar.
    void moveGlobal(const QPoint &topLeft);
    // Where the toolbar was last put (global), by the program or a drag.
    QPoint placedPosition() const { return placed; }
    // The menu bar's File, Edit, View, Tools and Help menus, for slot_Menu().
    void setMenus(const QList<QMenu *> &menus);
    bool isFolded() const { return folded; }
    void setFolded(bool bFolded);
    // Whether the toolbar's centre lies left of its screen's centre (of its
    // parent's while it is a child): popups and popup markers then face right.
    bool isOnLeft() const { return onLeft; }
    // The side of the toolbar that pInside is on; true when it is on none.
    static bool isOnLeftOf(const QWidget *pInside);

    // The keyboard on the toolbar (see ToolbarKeys): focusKeyboard() puts it
    // on pAt or the first button, unfolding the toolbar first.
    void focusKeyboard(QWidget *pAt = nullptr);
    bool isKeyboardMode() const;
    // The controls the keyboard walks, in reading order.
    QList<QWidget *> keyboardControls() const;
    // The toolbar pInside belongs to, or null.
    static ToolWidget *of(const QWidget *pInside);
    // Whether pControl has the keyboard while its toolbar is in keyboard mode.
    static bool showsFocusRing(const QWidget *pControl);
    // A control of the toolbar was pressed with the mouse: keyboard mode ends.
    static void mouseUsed(const QWidget *pInside);

public Q_SLOTS:
    void slot_Minimize();
    void slot_Menu();
    void slot_UpdateLang();
    // Lays the toolbar out again after a change of the size step.
    void slot_UpdateSize();
    // Paints everything again after a switch of the high-contrast look.
    void slot_UpdateLook();

Q_SIGNALS:
    // Image files (BMP, JPG, JPEG, PNG) dropped on the toolbar.
    void signal_FilesDropped(QStringList files);
    // Dropped on another screen: the owner of the screen in use is asked to
    // take it, and the toolbar keeps to whichever screen is then in use.
    void signal_ScreenChosen(QScreen *pScreen);
    void signal_SideChanged(bool bOnLeft);
    // F6 in keyboard mode: the keyboard is to go on to the floating panel.
    void signal_NextPane();

protected:
    void paintEvent(QPaintEvent *pEvent) override;
    void mousePressEvent(QMouseEvent *pEvent) override;
    void mouseMoveEvent(QMouseEvent *pEvent) override;
    void mouseReleaseEvent(QMouseEvent *pEvent) override;
    void dragEnterEvent(QDragEnterEvent *pEvent) override;
    void dropEvent(QDropEvent *pEvent) override;
    void keyPressEvent(QKeyEvent *pEvent) override;
    bool event(QEvent *pEvent) override;
    bool focusNextPrevChild(bool bNext) override;

private:
    void setUpWindow();
    // The menus' style, with the high-contrast rules while that look is on.
    void applyStyleSheet();
    void createButtons();
    void createTitleButtons();
    void applyFoldedSize();
    // The title strip's height and its buttons, which grow with the size
    // steps past 4 too.
    void layOutTitle();
    void placeMenuButton();
    int maxBodyHeight() const;
    void arrangeColumns();
    void fitColumnsToArea();
    void paintContrast(QPainter &painter) const;
    // Where the toolbar may be, in the coordinates move() takes: the current
    // screen, or the parent's rectangle while the toolbar is a child.
    QRect allowedArea() const;
    void chooseScreenOfToolbar();
    void pullInside();
    QRect placedRect() const;
    void place(const QPoint &local);
    void updateSide();

    int dragState = 0; // 0 idle, 1 pressed, 2 dragging
    QPoint pressOffset;
    QPoint pressPoint;
    bool folded = false;
    bool onLeft = true;
    QPoint placed;
    PlaceKeeper *keeper;
    QSize unfoldedSize;
    int arrangedHeight = 0;
    int titleHeight;
    ToolCentralWidget *central;
    CloseBtn *closeBtn;
    MinBtn *minBtn;
    MenuBtn *menuBtn;
    ToolGridWidget *grids[4];
    ToolOptionWidget *optionWidget;
    ToolWidgetBtn *buttons[ButtonCount];
    QList<QPointer<QMenu>> menus;
    ToolbarKeys *keys;
};
