#pragma once

#include <QPushButton>

// One choice of the export dialog: the format's picture beside a title line
// and a second, smaller line.
class ExportBtn : public QPushButton
{
    Q_OBJECT
public:
    ExportBtn(int iFormat, const QString &strTitle, const QString &strDetail,
              QWidget *pParent = nullptr);

    QSize sizeHint() const override;
};
