#include "zoomoptionwidget.h"

#include "app/lang.h"
#include "toolbar/popupwidgetbtn.h"

#include <QGridLayout>

namespace {
struct ButtonLook
{
    const char *picture;
    const char *tooltip;
};

const ButtonLook Looks[ZoomOptionWidget::ButtonCount] = {
    { ":/Tools/Captopage", "Capture As New Page" },
    { ":/Tools/Captofile", "Capture As File..." },
    { ":/Tools/Captoclip", "Capture To Clipboard" },
    { ":/Tools/ZoomIn", "Zoom In" },
    { ":/Tools/ZoomOut", "Zoom Out" },
    { ":/Tools/ZoomAll", "Full Screen" },
};

const int ButtonPicture = 24;
} // namespace

ZoomOptionWidget::ZoomOptionWidget(bool bFullScreen, QWidget *pParent)
    : DesktopToolPanel(QString(), pParent)
{
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(unit(4), unit(24), unit(4), unit(4));
    grid->setSpacing(unit(2));
    for (int i = 0; i < ButtonCount; ++i) {
        auto *button = new PopupWidgetBtn(QLatin1String(Looks[i].picture), ButtonPicture, this);
        button->setToolTip(Lang::tr("Tools", QLatin1String(Looks[i].tooltip)));
        button->setCheckable(i == ZoomAll);
        grid->addWidget(button, i / 3, i % 3);
        buttons[i] = button;
    }
    buttons[ZoomAll]->setChecked(bFullScreen);
    setFixedSize(sizeHint());
}
