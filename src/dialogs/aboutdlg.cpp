#include "aboutdlg.h"

#include "app/appstate.h"
#include "app/lang.h"
#include "widgets/iconwidget.h"
#include "widgets/messageboxdialog.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace {

QString translated(const char *strText)
{
    return Lang::tr("About", QLatin1String(strText));
}

} // namespace

AboutDlg::AboutDlg(QWidget *pParent)
    : MainDialog(pParent)
    , iconWidget(
          new IconWidget(QStringLiteral(":/Res/Tavelmark"), AppState::instance().scaled(64), this))
    , version(new QLabel(this))
{
    setWindowTitle(translated("About"));
    auto *name = new QLabel(MessageBoxDialog::productTitle(), this);
    QFont bold = name->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.5);
    name->setFont(bold);
    version->setText(translated("Version %1").arg(QCoreApplication::applicationVersion()));
    version->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setText(translated("OK"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    Lang::release();

    const int gap = AppState::instance().scaled(12);
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(gap, gap, gap, gap);
    grid->setHorizontalSpacing(gap);
    grid->addWidget(iconWidget, 0, 0, 2, 1, Qt::AlignTop);
    grid->addWidget(name, 0, 1, Qt::AlignBottom);
    grid->addWidget(version, 1, 1, Qt::AlignTop);
    grid->addWidget(buttons, 2, 0, 1, 2);
    setFixedSize(sizeHint());
}
