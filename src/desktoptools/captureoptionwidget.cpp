#include "captureoptionwidget.h"

#include "app/lang.h"
#include "capturedlg.h"
#include "capturepanel.h"
#include "toolbar/closebtn.h"
#include "toolbar/popupwidgetbtn.h"

#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>

CaptureOptionWidget::CaptureOptionWidget(CaptureDlg *pDialog)
    : QWidget(pDialog)
{
    setCursor(Qt::ArrowCursor);
    setMouseTracking(true);
    connect(CapturePanel::makeCloseButton(this), &QToolButton::clicked, pDialog, &QDialog::reject);

    const auto buttons = CapturePanel::makeOutputButtons(this);
    connect(buttons[0], &QToolButton::clicked, pDialog, &CaptureDlg::slot_Captopage);
    connect(buttons[1], &QToolButton::clicked, pDialog, &CaptureDlg::slot_Captofile);
    connect(buttons[2], &QToolButton::clicked, pDialog, &CaptureDlg::slot_Captoclip);

    auto *box = new QVBoxLayout(this);
    const int margin = CapturePanel::px(this, 4);
    box->setContentsMargins(margin, CapturePanel::px(this, 24), margin, margin);
    box->setSpacing(CapturePanel::px(this, 2));
    for (PopupWidgetBtn *button : buttons)
        box->addWidget(button);
    setFixedSize(sizeHint());
    Lang::release();
}

void CaptureOptionWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    CapturePanel::paintBackground(painter, this);
}

void CaptureOptionWidget::mousePressEvent(QMouseEvent *pEvent)
{
    pEvent->accept();
}

void CaptureOptionWidget::mouseMoveEvent(QMouseEvent *pEvent)
{
    pEvent->accept();
}

void CaptureOptionWidget::mouseReleaseEvent(QMouseEvent *pEvent)
{
    pEvent->accept();
}

void CaptureOptionWidget::mouseDoubleClickEvent(QMouseEvent *pEvent)
{
    pEvent->accept();
}
