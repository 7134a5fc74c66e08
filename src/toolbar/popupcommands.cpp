#include "popupcommands.h"

#include "popupbuttons.h"
#include "widgets/popupwidgetbtn.h"

#include <QButtonGroup>
#include <QGridLayout>

void PopupCommands::addEntries(QGridLayout *pGrid, int &iRow, const PopupCommand *pEntries,
                               int iCount, int iFirstId, QButtonGroup *pGroup, QWidget *pOwner)
{
    for (int i = 0; i < iCount; ++i) {
        PopupWidgetBtn *button = PopupButtons::commandButton(QLatin1String(pEntries[i].picture),
                                                             pEntries[i].text, pOwner);
        pGrid->addWidget(button, iRow++, 0, 1, PopupButtons::Columns);
        pGroup->addButton(button, iFirstId + i);
    }
}
