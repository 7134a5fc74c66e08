#include "pickeroptionwidget.h"

#include "pickercolor.h"
#include "pickerview.h"
#include "widgets/smalllabel.h"

#include <QColor>
#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>

PickerOptionWidget::PickerOptionWidget(const QString &strTitle, const QImage *pStill,
                                       QWidget *pParent)
    : DesktopToolPanel(strTitle, pParent)
    , swatch(new PickerColor(this))
    , view(new PickerView(pStill, this))
{
    setFont(SmallLabel::smallFont(8.0 * 96.0 / logicalDpiX()));

    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(unit(4), unit(24), unit(4), unit(4));
    grid->setSpacing(1);
    grid->addWidget(swatch, 0, 0);
    values[Position] = addLabel(QString(), 1);
    addLabel(QStringLiteral("-- RGB --"), 2);
    values[Red] = addLabel(QString(), 3);
    values[Green] = addLabel(QString(), 4);
    values[Blue] = addLabel(QString(), 5);
    values[Hex] = addLabel(QString(), 6);
    addLabel(QStringLiteral("-- HSV --"), 7);
    values[Hue] = addLabel(QString(), 8);
    values[Saturation] = addLabel(QString(), 9);
    values[Brightness] = addLabel(QString(), 10);
    grid->addWidget(view, 0, 1, 11, 1);
    setFixedSize(sizeHint());
}

QLabel *PickerOptionWidget::addLabel(const QString &strText, int iRow)
{
    auto *label = new QLabel(strText, this);
    static_cast<QGridLayout *>(layout())->addWidget(label, iRow, 0);
    return label;
}

void PickerOptionWidget::setColor(QRgb rgb, const QPoint &pixel)
{
    const QColor colour(rgb);
    int h = 0;
    int s = 0;
    int v = 0;
    colour.getHsv(&h, &s, &v);
    swatch->setColor(rgb);
    values[Position]->setText(QStringLiteral("   x: %1, y: %2").arg(pixel.x()).arg(pixel.y()));
    values[Red]->setText(QStringLiteral("   R: %1").arg(colour.red()));
    values[Green]->setText(QStringLiteral("   G: %1").arg(colour.green()));
    values[Blue]->setText(QStringLiteral("   B: %1").arg(colour.blue()));
    values[Hex]->setText(QStringLiteral("   Hex: %1").arg(colour.name()));
    values[Hue]->setText(QStringLiteral("   H: %1").arg(h));
    values[Saturation]->setText(QStringLiteral("   S: %1").arg(s));
    values[Brightness]->setText(QStringLiteral("   V: %1").arg(v));
    view->setCentre(pixel);
}

void PickerOptionWidget::mousePressEvent(QMouseEvent *pEvent)
{
    if (pEvent->button() != Qt::LeftButton)
        return;
    dragging = true;
    dragOffset = pEvent->globalPosition().toPoint() - pos();
}

void PickerOptionWidget::mouseMoveEvent(QMouseEvent *pEvent)
{
    if (dragging && (pEvent->buttons() & Qt::LeftButton))
        move(pEvent->globalPosition().toPoint() - dragOffset);
}

void PickerOptionWidget::mouseReleaseEvent(QMouseEvent *pEvent)
{
    if (pEvent->button() != Qt::LeftButton)
        return;
    dragging = false;
    keepInsideParent();
}

void PickerOptionWidget::keepInsideParent()
{
    const QSize area = parentWidget()->size();
    QPoint p = pos();
    if (p.x() < 0)
        p.setX(0);
    else if (p.x() + width() > area.width())
        p.setX(area.width() - width());
    if (p.y() < 0)
        p.setY(0);
    else if (p.y() + height() > area.height())
        p.setY(area.height() - height());
    move(p);
}
