#include "penstylerows.h"

#include "app/lang.h"
#include "popupbuttons.h"
#include "widgets/popupwidgetbtn.h"

#include <QButtonGroup>
#include <QGridLayout>

QButtonGroup *PenStyleRows::addStyles(QGridLayout *pGrid, int &iRow, int iPenStyle, QWidget *pOwner)
{
    PopupButtons::addLabel(pGrid, iRow, "Line Style:", pOwner);
    QButtonGroup *group = PopupButtons::addRow(pGrid, iRow, QStringLiteral(":/Popup/LineStyle%1"),
                                               1, StyleCount, pOwner);
    static constexpr const char *names[StyleCount]
        = { "Solid", "Dashes", "Dots", "Dash and dot", "Dash, dot, dot" };
    PopupButtons::nameRow(group, names, "Line Style:");
    PopupButtons::check(group, iPenStyle - Qt::SolidLine);
    return group;
}

QAbstractButton *PenStyleRows::addShadow(QGridLayout *pGrid, int &iRow, int iShadow,
                                         QWidget *pOwner)
{
    PopupButtons::addLabel(pGrid, iRow, "Shadow:", pOwner);
    auto *button
        = new PopupWidgetBtn(QStringLiteral(":/Popup/Shadow"), PopupButtons::IconSide, pOwner);
    button->setChecked(iShadow > 0);
    button->setAccessibleName(Lang::single("Accessible", QStringLiteral("Shadow")));
    pGrid->addWidget(button, iRow++, 0);
    return button;
}
