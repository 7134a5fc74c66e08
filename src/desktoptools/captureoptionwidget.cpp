#include "captureoptionwidget.h"

#include "app/lang.h"
#include "capturedlg.h"
#include "capturepanel.h"
#include "widgets/closebtn.h"
#include "widgets/popupwidgetbtn.h"

#include <QVBoxLayout>

CaptureOptionWidget::CaptureOptionWidget(CaptureDlg *pDialog)
    : DesktopToolPanel(QString(), pDialog)
{
    // Moves over the panel keep the dialog's cursor from changing.
    setMouseTracking(true);
    connect(closeButton(), &QToolButton::clicked, pDialog, &QDialog::reject);

    const auto buttons = CapturePanel::makeOutputButtons(this);
    connect(buttons[0], &QToolButton::clicked, pDialog, &CaptureDlg::slot_Captopage);
    connect(buttons[1], &QToolButton::clicked, pDialog, &CaptureDlg::slot_Captofile);
    connect(buttons[2], &QToolButton::clicked, pDialog, &CaptureDlg::slot_Captoclip);

    auto *box = new QVBoxLayout(this);
    box->setContentsMargins(unit(4), unit(24), unit(4), unit(4));
    box->setSpacing(unit(2));
    for (PopupWidgetBtn *button : buttons)
        box->addWidget(button);
    setFixedSize(sizeHint());
    Lang::release();
}
