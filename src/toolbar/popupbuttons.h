#pragma once

#include <QString>

class PopupWidgetBtn;
class QButtonGroup;
class QGridLayout;
class QWidget;
class SmallLabel;

// Builders for the rows of buttons and captions the option pages and command
// panels are made of. Rows start at iRow, which is left at the next free row.
class PopupButtons
{
public:
    static constexpr int Columns = 6;
    static constexpr int IconSide = 24;

    // iCount checkable picture buttons strPattern.arg(iFirst), arg(iFirst + 1), ...
    // with ids 0, 1, ..., Columns to a row.
    static QButtonGroup *addRow(QGridLayout *pGrid, int &iRow, const QString &strPattern,
                                int iFirst, int iCount, QWidget *pOwner);
    // A caption across the grid, translated in the panels' context.
    static SmallLabel *addLabel(QGridLayout *pGrid, int &iRow, const char *pText, QWidget *pOwner);
    // A button that acts when clicked and keeps no checked state.
    static PopupWidgetBtn *actionButton(const QString &strPicture, const char *pToolTip,
                                        QWidget *pOwner);
    // A command entry: the picture with the translated text beside it.
    static PopupWidgetBtn *commandButton(const QString &strPicture, const char *pText,
                                         QWidget *pOwner);
    // Names the buttons of pGroup, by id, for screen readers (pNames in the
    // readers' context), and describes each by the row's caption pRow.
    static void nameRow(QButtonGroup *pGroup, const char *const *pNames, const char *pRow);
    // Checks the button with that id, or none when there is no such button.
    static void check(QButtonGroup *pGroup, int id);
};
