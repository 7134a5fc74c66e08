#include "spinboxtime.h"

SpinBoxTime::SpinBoxTime(QWidget *pParent)
    : QSpinBox(pParent)
{
}

void SpinBoxTime::setUnitText(const QString &strUnit)
{
    unit = strUnit;
    // Setting the (empty) suffix rebuilds the text without a value change.
    setSuffix(QString());
}

QString SpinBoxTime::textFromValue(int iValue) const
{
    return QStringLiteral("%1  %2").arg(QString::number(iValue / 1000.0, 'g'), unit);
}

QString SpinBoxTime::numberPart(const QString &strText) const
{
    QString number = strText.trimmed();
    if (!unit.isEmpty() && number.endsWith(unit))
        number.chop(unit.size());
    return number.trimmed();
}

int SpinBoxTime::valueFromText(const QString &strText) const
{
    return qRound(numberPart(strText).toDouble() * 1000.0);
}

QValidator::State SpinBoxTime::validate(QString &strText, int &) const
{
    const QString number = numberPart(strText);
    if (number.isEmpty() || number == QLatin1String("."))
        return QValidator::Intermediate;
    bool ok = false;
    const double seconds = number.toDouble(&ok);
    if (!ok || seconds < 0)
        return QValidator::Invalid;
    const int ms = qRound(seconds * 1000.0);
    return ms >= minimum() && ms <= maximum() ? QValidator::Acceptable : QValidator::Intermediate;
}
