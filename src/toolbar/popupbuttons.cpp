#include "popupbuttons.h"

#include "app/lang.h"
#include "widgets/popupwidgetbtn.h"
#include "widgets/smalllabel.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QGridLayout>

QButtonGroup *PopupButtons::addRow(QGridLayout *pGrid, int &iRow, const QString &strPattern,
                                   int iFirst, int iCount, QWidget *pOwner)
{
    auto *group = new QButtonGroup(pOwner);
    for (int i = 0; i < iCount; ++i) {
        auto *button = new PopupWidgetBtn(strPattern.arg(iFirst + i), IconSide, pOwner);
        pGrid->addWidget(button, iRow + i / Columns, i % Columns);
        group->addButton(button, i);
    }
    iRow += (iCount + Columns - 1) / Columns;
    return group;
}

SmallLabel *PopupButtons::addLabel(QGridLayout *pGrid, int &iRow, const char *pText,
                                   QWidget *pOwner)
{
    auto *label = new SmallLabel(Lang::tr("PopupWidget", QLatin1String(pText)), pOwner);
    Lang::release();
    pGrid->addWidget(label, iRow++, 0, 1, Columns);
    return label;
}

PopupWidgetBtn *PopupButtons::actionButton(const QString &strPicture, const char *pToolTip,
                                           QWidget *pOwner)
{
    auto *button = new PopupWidgetBtn(strPicture, IconSide, pOwner);
    button->setCheckable(false);
    button->setToolTip(Lang::tr("PopupWidget", QLatin1String(pToolTip)));
    Lang::release();
    return button;
}

PopupWidgetBtn *PopupButtons::commandButton(const QString &strPicture, const char *pText,
                                            QWidget *pOwner)
{
    auto *button = new PopupWidgetBtn(strPicture, IconSide, pOwner);
    button->setCheckable(false);
    button->setCaption(Lang::tr("PopupWidget", QLatin1String(pText)));
    Lang::release();
    return button;
}

void PopupButtons::nameRow(QButtonGroup *pGroup, const char *const *pNames, const char *pRow)
{
    const QString row
        = pRow ? Lang::tr("PopupWidget", QLatin1String(pRow)).remove(QLatin1Char(':')) : QString();
    for (QAbstractButton *button : pGroup->buttons()) {
        button->setAccessibleName(
            Lang::tr("Accessible", QLatin1String(pNames[pGroup->id(button)])));
        button->setAccessibleDescription(row);
    }
    Lang::release();
}

void PopupButtons::check(QButtonGroup *pGroup, int id)
{
    const bool exclusive = pGroup->exclusive();
    pGroup->setExclusive(false);
    for (QAbstractButton *button : pGroup->buttons())
        button->setChecked(pGroup->id(button) == id);
    pGroup->setExclusive(exclusive);
}
