#pragma once

#include <QLabel>

// A caption in the small font of the option panels: 8 points beside the
// usual 9-point desktop font, or 8 / f2 points with the touch interface.
class SmallLabel : public QLabel
{
    Q_OBJECT
public:
    SmallLabel(const QString &strText, QWidget *pParent);

    // The application's font at iPoints, grown or shrunk as far as the
    // desktop's font differs from 9 points, so that small print follows a
    // larger desktop font too.
    static QFont smallFont(double points);
};
