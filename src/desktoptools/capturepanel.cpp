#include "capturepanel.h"

#include "app/appstate.h"
#include "app/lang.h"
#include "widgets/closebtn.h"
#include "widgets/lookcolours.h"
#include "widgets/popupwidgetbtn.h"
#include "widgets/toolbarscale.h"

#include <QLinearGradient>
#include <QPainter>
#include <QWidget>

int CapturePanel::px(const QWidget *pWidget, int n)
{
    return int(n * ToolbarScale::ui(pWidget));
}

int CapturePanel::titleHeight(const QWidget *pWidget)
{
    return px(pWidget, 20);
}

void CapturePanel::paintBackground(QPainter &painter, const QWidget *pWidget)
{
    if (LookColours::highContrast()) {
        painter.fillRect(pWidget->rect(), LookColours::ink());
        painter.fillRect(pWidget->rect().adjusted(2, 2, -2, -2), LookColours::face());
        painter.fillRect(QRect(0, 0, pWidget->width(), titleHeight(pWidget)), LookColours::ink());
        return;
    }
    const QColor *greys = AppState::instance().greys;
    const QColor &light = greys[0];
    const QColor &mid = greys[3];
    const QColor &dark = greys[4];
    const QRect whole = pWidget->rect();
    painter.fillRect(whole, dark);
    painter.fillRect(whole.adjusted(1, 1, -1, -1), light);

    const int title = titleHeight(pWidget);
    const QRect strip(0, 0, whole.width(), title);
    painter.fillRect(strip, dark);
    const QRect inner = strip.adjusted(1, 1, -1, -1);
    QLinearGradient shade(inner.topLeft(), inner.bottomLeft());
    shade.setColorAt(0, Qt::white);
    shade.setColorAt(0.1, mid);
    shade.setColorAt(0.97, mid);
    shade.setColorAt(1, Qt::white);
    painter.fillRect(inner, shade);
}

void CapturePanel::paintTitle(QPainter &painter, const QWidget *pWidget, const QString &strTitle)
{
    const int strip = titleHeight(pWidget);
    const QRect text(strip, 0, pWidget->width() - strip, strip);
    if (LookColours::highContrast()) {
        painter.setPen(LookColours::face());
        painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, strTitle);
        return;
    }
    const QColor *greys = AppState::instance().greys;
    painter.setPen(greys[4]);
    painter.drawText(text.translated(1, 1), Qt::AlignLeft | Qt::AlignVCenter, strTitle);
    painter.setPen(greys[0]);
    painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, strTitle);
}

CloseBtn *CapturePanel::makeCloseButton(QWidget *pParent)
{
    auto *button = new CloseBtn(pParent);
    button->move(px(pParent, 2), px(pParent, 2));
    button->setToolTip(Lang::tr("Tools", QStringLiteral("Close")));
    return button;
}

std::array<PopupWidgetBtn *, 3> CapturePanel::makeOutputButtons(QWidget *pParent)
{
    const char *pictures[] = { ":/Tools/Captopage", ":/Tools/Captofile", ":/Tools/Captoclip" };
    const char *tips[] = { "Capture As New Page", "Capture As File...", "Capture To Clipboard" };
    std::array<PopupWidgetBtn *, 3> buttons;
    for (size_t i = 0; i < buttons.size(); ++i) {
        buttons[i] = new PopupWidgetBtn(QString::fromLatin1(pictures[i]), 24, pParent);
        // Outputs act once; they are not options that stay on.
        buttons[i]->setCheckable(false);
        buttons[i]->setToolTip(Lang::tr("Tools", QString::fromLatin1(tips[i])));
    }
    return buttons;
}
