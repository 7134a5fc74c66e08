#pragma once

#include <QSpinBox>

// A spin box over milliseconds that shows seconds followed by a unit text,
// e.g. "0.5  seconds" for 500. Typed seconds are read back the same way.
class SpinBoxTime : public QSpinBox
{
    Q_OBJECT
public:
    explicit SpinBoxTime(QWidget *pParent = nullptr);

    // Rebuilds the shown text with the new unit.
    void setUnitText(const QString &strUnit);

protected:
    QString textFromValue(int iValue) const override;
    int valueFromText(const QString &strText) const override;
    QValidator::State validate(QString &strText, int &iPos) const override;

private:
    // The number part of a text, without the unit.
    QString numberPart(const QString &strText) const;

    QString unit;
};
