#include "palettebuttons.h"

#include "app/appstate.h"
#include "app/lang.h"
#include "widgets/colourname.h"
#include "widgets/lookcolours.h"
#include "widgets/popupwidgetbtn.h"

#include <QGridLayout>
#include <QIcon>
#include <QPainter>
#include <QPixmap>

namespace {

constexpr int SwatchSide = 16;

QPixmap swatch(const QColor &colour, int ratio)
{
    QPixmap pixmap(SwatchSide * ratio, SwatchSide * ratio);
    pixmap.fill(colour);
    QPainter painter(&pixmap);
    // In high contrast a swatch of the panel's own colour must still show.
    const bool contrast = LookColours::highContrast();
    const double width = (contrast ? 2 : 1) * ratio;
    painter.setPen(QPen(contrast ? LookColours::ink() : AppState::instance().greys[3], width));
    painter.drawRect(QRectF(0, 0, pixmap.width(), pixmap.height())
                         .adjusted(width / 2, width / 2, -width / 2, -width / 2));
    return pixmap;
}

} // namespace

PaletteButtons::PaletteButtons(QGridLayout *pGrid, int iFirstRow, QWidget *pOwner)
    : QButtonGroup(pOwner)
    , grid(new QGridLayout)
{
    // A grid of its own keeps the swatch columns evenly spaced whatever the
    // page's wider controls do to the page's columns.
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(pGrid->spacing());
    pGrid->addLayout(grid, iFirstRow, 0, 1, -1, Qt::AlignLeft);
    setExclusive(true);
    const QList<QColor> &rgb = AppState::instance().rgb;
    for (int i = 0; i < rgb.size(); ++i) {
        QIcon icon(swatch(rgb.at(i), 1));
        icon.addPixmap(swatch(rgb.at(i), 2));
        auto *button = new PopupWidgetBtn(icon, SwatchSide, pOwner);
        button->setAccessibleName(ColourName::spoken(rgb.at(i)));
        append(button, i);
    }
    Lang::release();
}

QColor PaletteButtons::colour(int id) const
{
    const QList<QColor> &rgb = AppState::instance().rgb;
    return (id >= 0 && id < rgb.size()) ? rgb.at(id) : QColor();
}

void PaletteButtons::append(QAbstractButton *pButton, int id)
{
    grid->addWidget(pButton, cells / Columns, cells % Columns);
    ++cells;
    if (id >= 0)
        addButton(pButton, id);
}

void PaletteButtons::showColour(const QColor &colour)
{
    const QList<QColor> &rgb = AppState::instance().rgb;
    // An exclusive group cannot uncheck its last checked button.
    setExclusive(false);
    for (int i = 0; i < rgb.size(); ++i)
        if (QAbstractButton *b = button(i))
            b->setChecked(colour.isValid() && rgb.at(i).rgba() == colour.rgba());
    setExclusive(true);
}
