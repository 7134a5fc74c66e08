#pragma once

#include <QColor>
#include <QToolButton>

// A button showing a colour swatch before its text; a click picks a new
// colour.
class ColorBtn : public QToolButton
{
    Q_OBJECT
public:
    ColorBtn(const QString &strText, QWidget *pParent = nullptr);

    QColor color() const { return colour; }
    void setColor(const QColor &c);

    QSize sizeHint() const override;

Q_SIGNALS:
    void signal_Color(QColor colour);

public Q_SLOTS:
    void slot_Color();

protected:
    void paintEvent(QPaintEvent *pEvent) override;

private:
    QColor colour = Qt::red;
};
