#include "hotkeywidget.h"

#include "app/lang.h"
#include "hotkeybtn.h"
#include "hotkeylineedit.h"

#include <QHBoxLayout>
#include <QPainter>

HotKeyWidget::HotKeyWidget(QWidget *pParent)
    : QWidget(pParent)
    , edit(new HotKeyLineEdit(this))
    , clearBtn(new HotKeyBtn(this))
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(0);
    layout->addWidget(edit);
    layout->addWidget(clearBtn);
    setFocusProxy(edit);
    clearBtn->setAccessibleName(Lang::single("Accessible", QStringLiteral("Clear Hotkey")));
    connect(edit, &HotKeyLineEdit::signal_ChangeHotKey, this, &HotKeyWidget::signal_ChangeHotKey);
    connect(clearBtn, &QAbstractButton::clicked, this, &HotKeyWidget::signal_ClearHotKey);
}

void HotKeyWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::gray);
    painter.fillRect(rect().adjusted(1, 1, -1, -1), Qt::white);
}
