#pragma once

#include <QLabel>

// A caption in the small font of the option panels: 8 points, or 8 / f2
// points with the touch interface.
class SmallLabel : public QLabel
{
    Q_OBJECT
public:
    SmallLabel(const QString &strText, QWidget *pParent);
};
