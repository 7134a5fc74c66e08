#include "zoomoptionwidget.h"

#include "app/lang.h"
#include "capturepanel.h"
#include "widgets/popupwidgetbtn.h"

#include <QGridLayout>

#include <algorithm>

namespace {
struct ButtonLook
{
    const char *picture;
    const char *tooltip;
};

// After the three capture outputs.
const ButtonLook ZoomLooks[] = {
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
    const auto outputs = CapturePanel::makeOutputButtons(this);
    std::copy(outputs.begin(), outputs.end(), buttons);
    for (int i = ZoomIn; i < ButtonCount; ++i) {
        const ButtonLook &look = ZoomLooks[i - ZoomIn];
        auto *button = new PopupWidgetBtn(QLatin1String(look.picture), ButtonPicture, this);
        button->setToolTip(Lang::tr("Tools", QLatin1String(look.tooltip)));
        button->setCheckable(i == ZoomAll);
        buttons[i] = button;
    }
    Lang::release();
    for (int i = 0; i < ButtonCount; ++i)
        grid->addWidget(buttons[i], i / 3, i % 3);
    buttons[ZoomAll]->setChecked(bFullScreen);
    setFixedSize(sizeHint());
}
