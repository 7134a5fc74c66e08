#include "waitnote.h"

#include "app/lang.h"
#include "platform/platform.h"
#include "widgets/messageboxdialog.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

WaitNote::WaitNote(QWidget *pParent)
    : MainDialog(pParent)
    , text(new QLabel(this))
    , cancel(new QPushButton(this))
{
    setObjectName(QStringLiteral("waitNote"));
    setWindowTitle(MessageBoxDialog::productTitle());
    setWindowFlag(Qt::WindowStaysOnTopHint);
    setModal(false);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(cancel, 0, Qt::AlignRight);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    slot_UpdateLang();
}

void WaitNote::slot_UpdateLang()
{
    text->setText(Lang::tr("MessageBox",
                           QStringLiteral("Waiting for the desktop to hand over a picture of "
                                          "the screen…")));
    cancel->setText(Lang::tr("MessageBox", QStringLiteral("Cancel")));
    Lang::release();
}

// Over a full-screen page too.
void WaitNote::showEvent(QShowEvent *pEvent)
{
    MainDialog::showEvent(pEvent);
    Platform::instance().setTopmost(this);
}
