#pragma once

#include <QWidget>

class QButtonGroup;

// The line page: start and end caps, pen style and shadow of the line tool.
class LineWidget : public QWidget
{
    Q_OBJECT
public:
    explicit LineWidget(QWidget *pParent);

    QButtonGroup *startCapGroup() const { return startCaps; }
    QButtonGroup *endCapGroup() const { return endCaps; }

public Q_SLOTS:
    void slot_LineCapStart(int iLineCapStart);
    void slot_LineCapEnd(int iLineCapEnd);
    void slot_LinePenStyle(int iLinePenStyle);
    void slot_StrokeShadow(bool bShadow);

private:
    QButtonGroup *startCaps;
    QButtonGroup *endCaps;
};
