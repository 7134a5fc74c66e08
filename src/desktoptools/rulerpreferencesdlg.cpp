#include "rulerpreferencesdlg.h"

#include "app/lang.h"
#include "rulerdlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

namespace {
QString toolsText(const char *text)
{
    return Lang::tr("Tools", QString::fromLatin1(text));
}
} // namespace

RulerPreferencesDlg::RulerPreferencesDlg(RulerDlg *pRuler)
    : MainDialog(pRuler)
    , ruler(pRuler)
{
    setWindowTitle(toolsText("Ruler Preferences"));
    auto *grid = new QGridLayout(this);
    units = addCombo(grid, toolsText("Units:"),
                     { toolsText("Pixels"), toolsText("Inches"), toolsText("Centimeters"),
                       toolsText("Picas"), toolsText("Points") });
    units->setCurrentIndex(ruler->units());

    dpi = new QSpinBox(this);
    dpi->setRange(8, 800);
    dpi->setSingleStep(1);
    dpi->setValue(ruler->dpi());
    const int dpiRow = grid->rowCount();
    auto *dpiLabel = new QLabel(toolsText("Dpi:"), this);
    dpiLabel->setBuddy(dpi);
    grid->addWidget(dpiLabel, dpiRow, 0);
    grid->addWidget(dpi, dpiRow, 1);

    color = addCombo(grid, toolsText("Color:"), { toolsText("Dark"), toolsText("Light") });
    color->setCurrentIndex(ruler->isLight() ? 1 : 0);
    layout
        = addCombo(grid, toolsText("Layout:"), { toolsText("Horizontal"), toolsText("Vertical") });
    layout->setCurrentIndex(ruler->isVertical() ? 1 : 0);

    opacity = addCombo(grid, toolsText("Opacity:"), {});
    for (int percent = 10; percent <= 100; percent += 10)
        opacity->addItem(QString::number(percent), QString::number(percent));
    opacity->setCurrentIndex(opacity->findData(QString::number(ruler->opacityPercent())));

    addButtons(grid);
    Lang::release();
    connectToRuler();
    setFixedSize(sizeHint());
}

QComboBox *RulerPreferencesDlg::addCombo(QGridLayout *pGrid, const QString &strLabel,
                                         const QStringList &items)
{
    auto *box = new QComboBox(this);
    box->addItems(items);
    const int row = pGrid->rowCount();
    pGrid->addWidget(new QLabel(strLabel, this), row, 0);
    pGrid->addWidget(box, row, 1);
    return box;
}

void RulerPreferencesDlg::addButtons(QGridLayout *pGrid)
{
    auto *defaults = new QPushButton(toolsText("Default"), this);
    connect(defaults, &QPushButton::clicked, this, &RulerPreferencesDlg::slot_Default);
    auto *box = new QDialogButtonBox(this);
    box->addButton(toolsText("OK"), QDialogButtonBox::AcceptRole);
    box->addButton(toolsText("Cancel"), QDialogButtonBox::RejectRole);
    connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    const int row = pGrid->rowCount();
    pGrid->addWidget(defaults, row, 0, 1, 2, Qt::AlignLeft);
    pGrid->addWidget(box, row + 1, 0, 1, 2);
}

void RulerPreferencesDlg::connectToRuler()
{
    connect(units, &QComboBox::currentIndexChanged, ruler, &RulerDlg::slot_ChangeUnits);
    connect(dpi, &QSpinBox::valueChanged, ruler, &RulerDlg::slot_ChangeDpi);
    connect(color, &QComboBox::currentIndexChanged, ruler, &RulerDlg::slot_ChangeColor);
    connect(layout, &QComboBox::currentIndexChanged, ruler, &RulerDlg::slot_ChangeLayout);
    connect(opacity, &QComboBox::currentIndexChanged, ruler,
            [this](int index) { ruler->slot_ChangeOpacity(opacity->itemData(index).toString()); });
}

void RulerPreferencesDlg::slot_Default()
{
    ruler->slot_ChangeUnits(0);
    ruler->slot_ChangeDpi(96);
    ruler->slot_ChangeColor(0);
    ruler->slot_ChangeLayout(0);
    ruler->slot_ChangeOpacity(QStringLiteral("80"));
    accept();
}
