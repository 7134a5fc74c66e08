#pragma once

#include "floatingplace.h"

#include <QObject>
#include <QPointer>

class PopupOptionWidget;
class PopupWidget;
class QWidget;

// Opens and owns the option panels for the main window: at most one
// transient popup (draw-tool options or a command panel) and one floating
// option widget, each replaced by the next one opened. Keeps where the
// floating widget was left and whether it was folded, for the run.
class OptionPopups : public QObject
{
    Q_OBJECT
public:
    // pHost: the main window. Transient popups belong to it; the floating
    // widget lives inside it, above the canvas.
    explicit OptionPopups(QWidget *pHost);
    ~OptionPopups() override;

    // Press kinds 1 to 4 open the current tool's options (none for the mouse
    // and select tools), as a transient popup or as the floating widget.
    void openDrawToolOptions(qint8 iPress, bool bIsPopup, QWidget *pAnchor);
    void openTools(QWidget *pAnchor);
    void openSave(QWidget *pAnchor);
    void openOpPage(QWidget *pAnchor);
    void openNewpage(QWidget *pAnchor);

    void hidePopup();
    void deleteFloating();
    // The current tool changed: the floating widget, when switched on, is
    // rebuilt for it (or goes, for a tool without options).
    void toolChanged(QWidget *pAnchor);
    // The width or colour changed elsewhere (dial, quick colours, picker).
    void refreshStroke();
    // The language changed: the floating widget is built again in it (where
    // it was left); a transient popup, which goes at the next click anyway,
    // closes.
    void retext(QWidget *pAnchor);
    // Follows the toolbar when it hides to the tray and comes back.
    void setFloatingVisible(bool bVisible);
    // The keyboard onto the floating widget's first entry; false while there
    // is none showing.
    bool focusFloating();

    PopupWidget *popup() const;
    PopupOptionWidget *floating() const;
    const FloatingPlace &floatingPlace() const { return place; }

Q_SIGNALS:
    // The user closed the floating widget: clear the switch's check mark.
    void signal_FloatingClosed();

private:
    template<class Panel>
    void openCommandPanel(QWidget *pAnchor);
    void keepPopup(PopupWidget *pPanel);

    QWidget *host;
    QPointer<PopupWidget> transient;
    QPointer<PopupOptionWidget> floatingWidget;
    FloatingPlace place;
};
