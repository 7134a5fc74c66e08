#include "exportbtn.h"

#include "app/appstate.h"
#include "app/resourcepixmap.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {

QLabel *passiveLabel(QWidget *pParent)
{
    auto *label = new QLabel(pParent);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    return label;
}

} // namespace

ExportBtn::ExportBtn(int iFormat, const QString &strTitle, const QString &strDetail,
                     QWidget *pParent)
    : QPushButton(pParent)
{
    const AppState &s = AppState::instance();
    auto *icon = passiveLabel(this);
    const int side = s.scaled(48);
    icon->setPixmap(ResourcePixmap::load(QStringLiteral(":/Res/ExportFileType%1").arg(iFormat))
                        .scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    auto *title = passiveLabel(this);
    title->setText(QStringLiteral("<font color=%1 size=\"4\">%2</font>")
                       .arg(s.greys[4].name(), strTitle.toHtmlEscaped()));
    auto *detail = passiveLabel(this);
    detail->setText(QStringLiteral("<font color=%1>%2</font>")
                        .arg(s.greys[3].name(), strDetail.toHtmlEscaped()));

    auto *lines = new QVBoxLayout;
    lines->addStretch();
    lines->addWidget(title);
    lines->addWidget(detail);
    lines->addStretch();
    auto *row = new QHBoxLayout(this);
    const int margin = s.scaled(8);
    row->setContentsMargins(margin, margin, margin, margin);
    row->setSpacing(s.scaled(12));
    row->addWidget(icon);
    row->addLayout(lines, 1);
    setAccessibleName(strTitle);
    // Return must not start an export the user did not pick.
    setAutoDefault(false);
}

QSize ExportBtn::sizeHint() const
{
    return layout()->sizeHint().expandedTo(QPushButton::sizeHint());
}
